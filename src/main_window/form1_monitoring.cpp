// The monitoring cycle of the main window: Run, Stop, the timer tick and the
// capture step with recognition and evaluation.

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "capture/capture_area.h"
#include "capture/clock.h"
#include "base/pixel_grid.h"
#include "recognition/recognition.h"
#include "capture/window_system.h"
#include "main_window/form1.h"
#include "main_window/live_meter.h"
#include "main_window/main_texts.h"
#include "dialogs/options_rules.h"
#include "persistence/debug_trace.h"

namespace {

// Sets a flag for the life of a scope, so a step can tell it is nested.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool Form1::IsMonitoring() const { return timCaptureInterval_->isActive(); }

void Form1::EnterMonitoring() {
  menuRun_->setEnabled(false);
  menuStop_->setEnabled(true);
  menuRun_->setText(QStringLiteral("ロギング"));
  timCaptureInterval_->start();
  live_->Started();
  alerts_.Start(services_.clock.MonotonicMs());
  UpdateTray();
}

void Form1::EnterIdle() {
  menuRun_->setEnabled(true);
  menuStop_->setEnabled(false);
  menuRun_->setText(QStringLiteral("開始"));
  timCaptureInterval_->stop();
  // The session's summary goes to the screen only; the log file never has it.
  const QString summary = live_->Stopped();
  if (!summary.isEmpty()) AppendLog(summary + QStringLiteral("\r\n"), true);
  alerts_.Stop();
  UpdateTray();
}

void Form1::AppendLog(const QString& text, bool caretToEnd) {
  logText_ += text;
  // The widget keeps paragraphs, not CR LF; the text itself is kept above.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QTextCursor end(txtLog_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(shown);
  if (caretToEnd) {
    txtLog_->moveCursor(QTextCursor::End);
    txtLog_->ensureCursorVisible();
  }
}

void Form1::menuRun_Click() {
  if (ended_ || IsMonitoring()) return;
  if (services_.windows.FindWindowByTitle(kGameTitle) == 0) {
    ShowNotice(GameMissingNotice());
    return;
  }
  EnterMonitoring();
  nextCaptureTime_ = services_.clock.Now().addSecs(kRetrySeconds);
  AppendLog(state_.screenHeader + QStringLiteral("\r\n"), false);
  // Every run is a measurement of its own: its first reading begins a log
  // file again (Stop ended the previous one), and the stopped time never
  // counts in a rate.
  // A measurement continued from the last run goes on instead.
  if (!continuing_) {
    evaluator_.StartNewMeasurement();
    guard_.Reset();
  }
  continuing_ = false;
  services_.trace.Event(QStringLiteral(" Loging Start･･･ "));
}

void Form1::menuStop_Click() {
  if (ended_) return;
  EnterIdle();
  logWriter_.Clear();
  EndMeasurement();
  services_.trace.Event(QStringLiteral(" Loging Stop･･･End "));
}

void Form1::timCaptureInterval_Timer() {
  // A tick inside a capture step (during its waits or its message box) is
  // held back: the due time stays, so the next tick after the step catches
  // up, and message boxes never pile up.
  if (ended_ || captureStepActive_) return;
  const QDateTime now = services_.clock.Now();
  // An interval shortened in the options dialog must not wait out the old
  // one (up to a day): the last capture plus the new interval is due when
  // it comes earlier. A longer one only counts from the next capture on.
  if (intervalStart_.isValid()) {
    nextCaptureTime_ = std::min(nextCaptureTime_, intervalStart_.addSecs(60LL * state_.settings.captureInterval));
  }
  const bool due = nextCaptureTime_ <= now;
  // Between the timed captures a live reading; the tick that makes the
  // capture only looks whether the game is there.
  if (!matcher_) matcher_ = std::make_shared<const PatternMatcher>(state_.patterns);
  const std::shared_ptr<const PatternMatcher> matcher = matcher_;  // held while it reads
  NoteLiveReading(live_->Tick(due ? nullptr : matcher.get()));
  if (due) {
    StartInterval(now);
    CaptureStep();
    live_->RefreshStateLine();
  }
  // The step may have waited and shown a message since the tick's look.
  FeedAlerts(due ? GameSeen::Unknown : live_->Game());
}

void Form1::StartInterval(const QDateTime& now) {
  intervalStart_ = now;
  nextCaptureTime_ = now.addSecs(60LL * state_.settings.captureInterval);
}

void Form1::CaptureStep() {
  if (ended_ || captureStepActive_) return;
  ScopedFlag active(captureStepActive_);

  WindowSystem& windows = services_.windows;
  const WindowLook look = windows.LookAt(kGameTitle);
  if (look.window == 0) {
    ShowNotice(GameMissingNotice());
    if (ended_) return;
    if (!logWriter_.LogStamp().isEmpty()) {
      EnterIdle();
      logWriter_.Clear();
      EndMeasurement();
      SetCapture(0, QImage());
      SetCapture(1, QImage());
      services_.trace.Event(QStringLiteral(" Lost ") + kGameTitle + QStringLiteral(" Then Log Stop"));
    } else {
      services_.trace.Event(QStringLiteral(" Lost ") + kGameTitle + QStringLiteral(" Then Capture Stop"));
    }
    return;
  }
  if (!look.inFront) {
    nextCaptureTime_ = services_.clock.Now().addSecs(kRetrySeconds);
    return;
  }

  if (state_.settings.beepBeep) windows.Beep();
  const std::array<QImage, 2> pictures = CaptureGameAreas(windows, look, state_.settings.captureRegions);
  for (int area = 0; area < 2; ++area) SetCapture(area, pictures[area]);
  RecognizeDigits();
  if (ended_) return;
  ApplyEvaluation();
}

void Form1::SetCapture(int area, const QImage& picture) {
  captures_[area] = picture;
  if (picture.isNull()) {
    picCapture_[area]->clear();
  } else {
    picCapture_[area]->setPixmap(QPixmap::fromImage(picture));
  }
}

void Form1::RecognizeDigits() {
  std::array<PixelGrid, 2> grids;
  for (int area = 0; area < 2; ++area) ReadPixels(captures_[area], grids[area]);
  const Settings& settings = state_.settings;
  const std::array<int, 2> widths = {settings.captureRegions[0].ex, settings.captureRegions[1].ex};

  // A lag of days in a hand-edited file must not freeze the capture.
  const int lag = LagToWait(settings.lag);
  RecognitionHooks hooks;
  hooks.lagWait = [this, lag] { services_.clock.WaitMs(lag); };
  hooks.caption = [this](int area, const QString& caption) { lblCapture_[area]->setText(caption); };
  hooks.preview = [this](int area, int digit, int x) { ShowPreview(area, digit, x); };

  if (!matcher_) matcher_ = std::make_shared<const PatternMatcher>(state_.patterns);
  // The lag waits process events: the pattern editor may replace matcher_
  // before this scan ends, so the scan holds the set it began with.
  const std::shared_ptr<const PatternMatcher> matcher = matcher_;
  const RecognitionResult result =
      ::RecognizeDigits(grids, widths, *matcher, lag, state_.debugMode, hooks);
  recognizedLevel_ = result.level;
  recognizedExp_ = result.exp;
  for (int area = 0; area < 2; ++area) lblCapture_[area]->setText(result.captions[area]);
  if (state_.debugMode) services_.trace.Write(result.trace);
}

void Form1::ShowPreview(int area, int digit, int x) {
  // The pattern and the captured cell under it, both magnified twice, so the
  // user can see why a column did or did not match.
  const int cellWidth = state_.patterns.cellWidth[area];
  const int cellHeight = state_.patterns.cellHeight[area];
  const auto show = [cellWidth, cellHeight](QLabel* target, const QImage& source, int left) {
    QPixmap canvas(target->size());
    canvas.fill(Qt::white);
    if (!source.isNull() && cellWidth > 0 && cellHeight > 0) {
      QPainter painter(&canvas);
      painter.drawImage(QRect(0, 0, 2 * cellWidth, 2 * cellHeight), source, QRect(left, 0, cellWidth, cellHeight));
    }
    target->setPixmap(canvas);
    target->repaint();
  };
  show(picRecognize_[0], state_.patternImages.digits[area * 10 + digit], 0);
  show(picRecognize_[1], captures_[area], x);
}

void Form1::ApplyEvaluation() {
  const QDateTime now = services_.clock.Now();
  const std::int64_t monotonicMs = services_.clock.MonotonicMs();
  const EvaluationStep step = GuardedEvaluation(now, monotonicMs);
  // The file first, so that the screen can say when what belongs to the
  // line (the header of a first reading, the line itself later) is not in
  // it; the message (once per measurement) follows the line it is about.
  std::vector<Notice> notices;
  bool lost = false;
  const auto write = [&](const QString& text, const QString& mode) {
    if (auto notice = logWriter_.WriteLogLine(text, mode, state_.settings, now)) notices.push_back(*notice);
    lost = lost || logWriter_.LastLineLost();
  };
  if (step.beginLogFile) write(state_.fileHeader, QStringLiteral("INIT"));
  if (step.fileLine) write(*step.fileLine, QString());
  if (!step.screenLine.isEmpty()) {
    AppendLog(step.screenLine + (lost ? kUnwrittenMark : QString()) + QStringLiteral("\r\n"), step.scrollToEnd);
  }
  for (const Notice& notice : notices) ShowNotice(notice);
  if (step.retrySoon) nextCaptureTime_ = now.addSecs(kRetrySeconds);
  if (!step.traceMessage.isEmpty()) services_.trace.Event(step.traceMessage);
  AfterEvaluation(step, now, monotonicMs);
}
