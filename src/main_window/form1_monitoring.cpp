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

#include "capture/capture_area.h"
#include "capture/clock.h"
#include "base/pixel_grid.h"
#include "capture/recognition.h"
#include "capture/window_system.h"
#include "main_window/form1.h"
#include "main_window/live_meter.h"
#include "main_window/main_texts.h"
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
}

void Form1::EnterIdle() {
  menuRun_->setEnabled(true);
  menuStop_->setEnabled(false);
  menuRun_->setText(QStringLiteral("開始"));
  timCaptureInterval_->stop();
  // The session's summary goes to the screen only; the log file never has it.
  const QString summary = live_->Stopped();
  if (!summary.isEmpty()) AppendLog(summary + QStringLiteral("\r\n"), true);
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
  evaluator_.StartNewMeasurement();
  services_.trace.Event(QStringLiteral(" Loging Start･･･ "));
}

void Form1::menuStop_Click() {
  if (ended_) return;
  EnterIdle();
  logWriter_.Clear();
  services_.trace.Event(QStringLiteral(" Loging Stop･･･End "));
}

void Form1::timCaptureInterval_Timer() {
  // A tick inside a capture step (during its waits or its message box) is
  // held back: the due time stays, so the next tick after the step catches
  // up, and message boxes never pile up.
  if (ended_ || captureStepActive_) return;
  const QDateTime now = services_.clock.Now();
  const bool due = nextCaptureTime_ <= now;
  // Between the timed captures a live reading; the tick that makes the
  // capture only looks whether the game is there.
  if (!matcher_) matcher_.emplace(state_.patterns);
  live_->Tick(due ? nullptr : &*matcher_);
  if (!due) return;
  nextCaptureTime_ = now.addSecs(60LL * state_.settings.captureInterval);
  CaptureStep();
  live_->RefreshStateLine();
}

void Form1::CaptureStep() {
  if (ended_ || captureStepActive_) return;
  ScopedFlag active(captureStepActive_);

  WindowSystem& windows = services_.windows;
  const WindowId game = windows.FindWindowByTitle(kGameTitle);
  if (game == 0) {
    ShowNotice(GameMissingNotice());
    if (ended_) return;
    if (!logWriter_.LogStamp().isEmpty()) {
      EnterIdle();
      logWriter_.Clear();
      SetCapture(0, QImage());
      SetCapture(1, QImage());
      services_.trace.Event(QStringLiteral(" Lost ") + kGameTitle + QStringLiteral(" Then Log Stop"));
    } else {
      services_.trace.Event(QStringLiteral(" Lost ") + kGameTitle + QStringLiteral(" Then Capture Stop"));
    }
    return;
  }
  if (windows.ForegroundWindow() != game) {
    nextCaptureTime_ = services_.clock.Now().addSecs(kRetrySeconds);
    return;
  }

  if (state_.settings.beepBeep) windows.Beep();
  for (int area = 0; area < 2; ++area) {
    SetCapture(area, CaptureGameArea(windows, game, state_.settings.captureRegions[area]));
  }
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

  RecognitionHooks hooks;
  hooks.lagWait = [this] { services_.clock.WaitMs(state_.settings.lag); };
  hooks.caption = [this](int area, const QString& caption) { lblCapture_[area]->setText(caption); };
  hooks.preview = [this](int area, int digit, int x) { ShowPreview(area, digit, x); };

  if (!matcher_) matcher_.emplace(state_.patterns);
  const RecognitionResult result =
      ::RecognizeDigits(grids, widths, *matcher_, settings.lag, state_.debugMode, hooks);
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
  const EvaluationStep step = evaluator_.Evaluate(recognizedLevel_, recognizedExp_, now,
                                                  services_.clock.MonotonicMs(), state_.settings.saveCsv);
  if (step.beginLogFile) {
    if (auto notice = logWriter_.WriteLogLine(state_.fileHeader, QStringLiteral("INIT"), state_.settings, now)) {
      ShowNotice(*notice);
    }
  }
  if (!step.screenLine.isEmpty()) AppendLog(step.screenLine + QStringLiteral("\r\n"), step.scrollToEnd);
  if (step.fileLine) {
    if (auto notice = logWriter_.WriteLogLine(*step.fileLine, QString(), state_.settings, now)) ShowNotice(*notice);
  }
  if (step.retrySoon) nextCaptureTime_ = now.addSecs(kRetrySeconds);
  if (!step.traceMessage.isEmpty()) services_.trace.Event(step.traceMessage);
}
