// The monitoring cycle: Run, Stop, the timer tick and the capture step with
// recognition and evaluation.

#include "monitoring/monitoring_cycle.h"

#include <QFileInfo>

#include "accounting/percent_reading.h"
#include "base/display_text.h"
#include "base/pixel_grid.h"
#include "capture/capture_area.h"
#include "capture/clock.h"
#include "capture/window_system.h"
#include "monitoring/lag.h"
#include "monitoring/message_boxes.h"
#include "monitoring/monitoring_texts.h"
#include "persistence/debug_trace.h"
#include "persistence/pattern_store.h"
#include "recognition/level_lesson.h"
#include "recognition/pattern_matcher.h"
#include "recognition/recognition.h"

namespace {

// How long the state line tells what became of a manual capture.
constexpr std::int64_t kManualOutcomeMs = 30'000;

}  // namespace

MonitoringCycle::MonitoringCycle(ProgramState& state, Services& services)
    : state_(state), services_(services), manualWaits_(services.clock) {}

MonitoringCycle::~MonitoringCycle() = default;

void MonitoringCycle::Inform(const Notice& notice) { services_.boxes.Inform(notice.text, notice.title); }

void MonitoringCycle::AppendLog(const QString& text, bool scrollToEnd) {
  emit logAppended(text, scrollToEnd);
}

void MonitoringCycle::EnterMonitoring() {
  monitoring_ = true;
  failures_.ForgetReasons();
  grabTrouble_.Reset();
  // A measurement continued after a crash keeps what it had before.
  book_.Begin(services_.clock.Now(), continuing_);
  announcer_.Start();
  stoppedBecause_.clear();
  // The box that says the game is gone is shown once each time it goes: a
  // box at every due time buries the desktop while the player is away.
  game_.TellMissing(false);
  // The first capture is due a retry's time after the start, whenever the
  // last one before a Stop was made.
  schedule_.Start(services_.clock.MonotonicMs());
  StartSession();
  if (continuing_ && continueFrom_) {
    // The wall clock, not the tick count, survives a reboot.
    const std::int64_t ms = services_.clock.MonotonicMs() - continueFrom_->at.msecsTo(services_.clock.Now());
    session_.ContinueFrom({continueFrom_->level, continueFrom_->exp, ms});
  }
  continueFrom_.reset();
  alerts_.Start(services_.clock.MonotonicMs());
  StartTicking();
  emit monitoringChanged(true);
  // A reading now is the session's base: what is gained before the first
  // tick counts too.
  LiveTick(false);
}

void MonitoringCycle::StartTicking() {
  ticking_ = services_.clock.After(kTickMs, [this] {
    StartTicking();  // the next tick counts from this one, as a running timer's does
    Tick();
  });
}

void MonitoringCycle::EnterIdle() {
  monitoring_ = false;
  ticking_.reset();
  game_.StopWaiting();
  StopSession();
  // The panel and the compact view say 停止中 too, not the last 計測中.
  ShowFigures();
  alerts_.Stop();
  emit monitoringChanged(false);
}

void MonitoringCycle::AutoStart() {
  if (ended_ || monitoring_) return;
  if (services_.windows.FindWindowByTitle(kGameTitle) == 0) {
    Inform(GameMissingNotice());
    return;
  }
  EnterMonitoring();
  AppendLog(state_.screenHeader + QStringLiteral("\r\n"), false);
  services_.trace.Event(QStringLiteral(" Log Start･･･ "));
  emit stateChanged();
}

void MonitoringCycle::Run() {
  if (ended_ || monitoring_) return;
  if (services_.windows.FindWindowByTitle(kGameTitle) == 0) {
    Inform(GameMissingNotice());
    return;
  }
  EnterMonitoring();
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
  emit stateChanged();
}

void MonitoringCycle::Stop() {
  if (ended_) return;
  stoppedBecause_.clear();
  EnterIdle();
  logWriter_.Clear();
  EndMeasurement();
  services_.trace.Event(QStringLiteral(" Loging Stop･･･End "));
}

void MonitoringCycle::End(bool measurementEnds) {
  if (!ended_ && measurementEnds) EndMeasurement();
  ended_ = true;
  monitoring_ = false;
  ticking_.reset();
  manualWaits_.EndAll();
  scanReplay_.Stop();
  stepEnded_ = {};
}

void MonitoringCycle::Tick() {
  // A tick during a capture step (its lag or its message box) or a reading
  // is held back: the due time stays, so the next tick after it catches up,
  // and message boxes never pile up.
  if (ended_ || Busy() || !monitoring_) return;
  const bool due = schedule_.Due(services_.clock.MonotonicMs(), state_.settings.captureInterval);
  // Between the timed captures a live reading; the tick that makes the
  // capture only looks whether the game is there.
  LiveTick(due);
  if (due) {
    StartInterval();
    CaptureStep();
  }
  emit stateChanged();
}

void MonitoringCycle::StartInterval() {
  schedule_.StartInterval(services_.clock.MonotonicMs(), state_.settings.captureInterval);
}

QDateTime MonitoringCycle::NextCaptureTime() const {
  const std::optional<std::int64_t> due = schedule_.DueMs();
  if (!due) return QDateTime();
  return services_.clock.Now().addMSecs(*due - services_.clock.MonotonicMs());
}

void MonitoringCycle::ManualCapture() {
  // Pressed while a capture step runs (during its lag): that step is the
  // capture. This one neither moves the due time nor says it was done; nor
  // does one whose wait ends during a step.
  if (ended_ || Busy()) return;
  ManualWait(kCaptureCommand, kManualWaitMs, [this] {
    if (Busy()) return;
    StartInterval();
    manualOutcome_.reset();
    BeginCaptureStep([this] {
      // The player pressed it and may still be looking at this window: say
      // when nothing came of it.
      if (game_.Game() == GameSeen::Behind || game_.Game() == GameSeen::Missing) {
        manualOutcome_ =
            ManualOutcome{game_.Game() == GameSeen::Behind ? ManualCaptureNotInFrontText() : ManualCaptureMissingText(),
                          services_.clock.MonotonicMs() + kManualOutcomeMs};
        emit stateChanged();
      }
      services_.trace.Event(QStringLiteral(" SingleCapture･･･End "));
    });
  });
}

void MonitoringCycle::ManualWait(const QString& command, std::int64_t ms, std::function<void()> then) {
  if (ended_) return;
  manualWaits_.Start(command, ms, [this, then = std::move(then)] {
    emit stateChanged();
    if (!ended_ && then) then();
  });
  emit stateChanged();
}

void MonitoringCycle::CaptureStep() { BeginCaptureStep({}); }

void MonitoringCycle::EndCaptureStep() {
  captureStepActive_ = false;
  const std::function<void()> ended = std::move(stepEnded_);
  stepEnded_ = {};
  if (!ended_ && ended) ended();
}

void MonitoringCycle::BeginCaptureStep(std::function<void()> ended) {
  if (ended_ || Busy()) return;
  captureStepActive_ = true;
  stepEnded_ = std::move(ended);

  WindowSystem& windows = services_.windows;
  const GameView view = Look();
  if (view.game == GameSeen::Missing) {
    TellAlerts(GameSeen::Missing);
    const std::int64_t nowMs = services_.clock.MonotonicMs();
    if (const std::optional<std::int64_t> waitEnd = GameWaitEndMs(); waitEnd && nowMs < *waitEnd) {
      // A crash or a restart: the measurement goes on in its file if the
      // game is back in time, and it is looked for again soon.
      schedule_.Retry(nowMs);
      emit stateChanged();
      return EndCaptureStep();
    }
    game_.StopWaiting();
    // Stopped first, so that the state line says so while the box stands.
    const bool stops = !logWriter_.LogStamp().isEmpty();
    if (stops) {
      EnterIdle();
      logWriter_.Clear();
      EndMeasurement();
      SetCapture(0, QImage());
      SetCapture(1, QImage());
      stoppedBecause_ = GameLostStopText(services_.clock.Now().toString(QStringLiteral("HH:mm")));
      services_.trace.Event(QStringLiteral(" Lost ") + kGameTitle + QStringLiteral(" Then Log Stop"));
    } else {
      services_.trace.Event(QStringLiteral(" Lost ") + kGameTitle + QStringLiteral(" Then Capture Stop"));
    }
    emit stateChanged();
    if (stops || !game_.MissingTold()) WarnGameMissing(stops);
    return EndCaptureStep();
  }
  if (view.game != GameSeen::InFront) {
    schedule_.Retry(services_.clock.MonotonicMs());
    TellAlerts(GameSeen::Behind);
    return EndCaptureStep();
  }

  if (state_.settings.beepBeep) windows.Beep();
  const std::array<QImage, 2> pictures = CaptureGameAreas(windows, view.look, view.regions);
  TraceGrabWay();
  for (int area = 0; area < 2; ++area) SetCapture(area, pictures[static_cast<std::size_t>(area)]);
  RecognizeDigits([this, view, pictures] {
    const AlertEvent heard = ApplyEvaluation();
    if (ended_) return;
    AfterGrab(view, pictures, heard);
    EndCaptureStep();
  });
}

std::optional<std::int64_t> MonitoringCycle::GameWaitEndMs() const {
  const std::optional<std::int64_t> gone = game_.GoneSinceMs();
  if (!gone || !monitoring_ || logWriter_.LogStamp().isEmpty()) return std::nullopt;
  return *gone + std::int64_t{state_.settings.gameWaitMinutes} * 60'000;
}

void MonitoringCycle::SawGame(GameSeen seen, std::optional<AreasSeen> hidden) {
  const bool waits = monitoring_ && !logWriter_.LogStamp().isEmpty() && state_.settings.gameWaitMinutes > 0;
  const GamePresence::Change change = game_.Saw(seen, hidden, services_.clock.MonotonicMs(), waits);
  if (change.waitBegan) services_.trace.Event(QStringLiteral(" Lost ") + kGameTitle + QStringLiteral(" Then Wait"));
  if (change.goneForMs) {
    // Back within the wait: the time without the game was not played, and
    // no rate may count it.
    evaluator_.LeaveOut(*change.goneForMs);
    session_.LeaveOut(*change.goneForMs);
    services_.trace.Event(QStringLiteral(" Found ") + kGameTitle + QStringLiteral(" Again"));
  }
}

void MonitoringCycle::WarnGameMissing(bool stopped) {
  game_.TellMissing(true);
  const Notice notice = GameMissingNotice();
  // The tray says why as well: the box may be the only window the player
  // does not look at.
  const QString tray = stopped ? notice.text + QStringLiteral("\r\n") + stoppedBecause_ : notice.text;
  emit warned(notice.title, tray);
  services_.boxes.Warn(notice.text, notice.title);
}

void MonitoringCycle::SetCapture(int area, const QImage& picture) {
  captures_[static_cast<std::size_t>(area)] = picture;
  emit captureChanged(area, picture);
}

bool MonitoringCycle::LearnLevelDigitsFromCapture() {
  // Only from a level the capture before read and the guard accepted: once
  // readings have failed, the level may have risen more than once since.
  const std::optional<ReadingEvaluator::Previous>& previous = evaluator_.PreviousReading();
  if (!previous || recognizedLevel_ != previous->level) return false;
  const std::optional<LevelLesson> lesson = LearnLevelDigits(captures_[0], previous->level, state_.patternImages);
  if (!lesson) return false;
  QStringList learned;
  for (std::size_t d = 0; d < 10; ++d) {
    const bool isNew = lesson->origins[d] == PatternOrigin::LearnedAtLevelUp &&
                       state_.patternImages.origins[d] != PatternOrigin::LearnedAtLevelUp;
    if (isNew) learned << QString::number(d);
  }
  ApplyLesson(state_.patternImages, *lesson);
  const PatternFilesResult saved =
      PatternFiles(QStringLiteral("SAVE"), state_.patternImages, state_.patterns, state_.programFolder);
  for (const Notice& notice : saved.notices) Inform(notice);
  PatternsChanged();
  // A new look of a digit already known is no news to the player.
  if (!learned.isEmpty()) {
    AppendLog(LogDateText(services_.clock.Now()) + QStringLiteral("  ") +
                  LevelDigitsLearnedText(lesson->level, learned.join(' ')) + QStringLiteral("\r\n"),
              true);
  }
  return true;
}

void MonitoringCycle::PatternsChanged() { matcher_ = std::make_unique<const PatternMatcher>(state_.patterns); }

const PatternMatcher& MonitoringCycle::Matcher() {
  if (!matcher_) PatternsChanged();
  return *matcher_;
}

void MonitoringCycle::Recognize(std::function<void()> done) {
  if (ended_ || scanReplay_.Playing()) return;
  RecognizeDigits(std::move(done));
}

void MonitoringCycle::RecognizeDigits(std::function<void()> then) {
  std::array<PixelGrid, 2> grids;
  for (std::size_t area = 0; area < 2; ++area) ReadPixels(captures_[area], grids[area]);
  const Settings& settings = state_.settings;
  const std::array<int, 2> widths = {settings.captureRegions[0].ex, settings.captureRegions[1].ex};
  // A lag of days in a hand-edited file must not freeze the capture.
  const int lag = LagToWait(settings.lag);
  RecognitionResult result =
      ::RecognizeDigits(grids, widths, Matcher(), lag, state_.debugMode, scanReplay_.Recorder());
  const auto show = [this](const ScanReplay::Shown& shown) {
    if (shown.digit >= 0) {
      emit previewShown(shown.area, shown.digit, shown.x);
    } else {
      emit captionChanged(shown.area, shown.caption);
    }
  };
  scanReplay_.Play(services_.clock, lag, show,
                   [this, result = std::move(result), grids, widths, show, then = std::move(then)]() mutable {
                     if (result.level == 0 && LearnLevelDigitsFromCapture()) {
                       // Read again with the digits just learned, at once: the lag was waited.
                       ScanReplay again;
                       result = ::RecognizeDigits(grids, widths, Matcher(), 0, state_.debugMode, again.Recorder());
                       again.Play(services_.clock, 0, show, {});
                     }
                     ApplyReading(result);
                     if (!ended_ && then) then();
                   });
}

void MonitoringCycle::ApplyReading(const RecognitionResult& result) {
  recognizedLevel_ = result.level;
  recognizedExp_ = result.exp;
  recognizedExpText_ = result.digits[1];
  failures_.Read(result.failures, captures_);
  for (int area = 0; area < 2; ++area) {
    const QString& caption = result.captions[static_cast<std::size_t>(area)];
    emit captionChanged(area, caption);
  }
  if (state_.debugMode) services_.trace.Write(result.trace);
}

AlertEvent MonitoringCycle::ApplyEvaluation() {
  const QDateTime now = services_.clock.Now();
  const std::int64_t monotonicMs = services_.clock.MonotonicMs();
  AlertEvent heard;
  const EvaluationStep step = GuardedEvaluation(now, monotonicMs, heard);
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
  if (step.fileLine && continuedFileToCheck_) {
    // A continued measurement whose file has gone begins a new one, as a
    // first reading would.
    continuedFileToCheck_ = false;
    const QString begun = logWriter_.BegunPath(state_.settings);
    if (!begun.isEmpty() && !QFileInfo::exists(begun)) {
      notices.push_back(ContinuedLogMissingNotice(begun));
      write(state_.fileHeader, QStringLiteral("INIT"));
    }
  }
  if (step.fileLine) write(*step.fileLine, QString());
  if (!logWriter_.LogStamp().isEmpty()) book_.NoteLogFile(QFileInfo(logWriter_.BegunPath(state_.settings)).fileName());
  if (!step.screenLine.isEmpty()) {
    // A failed reading says why on screen; the file's line stays as it was.
    const QString why = ReadingFailureText(failures_.Reasons());
    AppendLog(step.screenLine + (why.isEmpty() ? QString() : QStringLiteral("  ") + why) +
                  (lost ? UnwrittenMark() : QString()) + QStringLiteral("\r\n"),
              step.scrollToEnd);
  }
  for (const Notice& notice : notices) Inform(notice);
  if (step.retrySoon) schedule_.Retry(monotonicMs);
  if (!step.traceMessage.isEmpty()) services_.trace.Event(step.traceMessage);
  AfterEvaluation(step, now, monotonicMs);
  TellAlerts(GameSeen::InFront, heard.reading, heard.point);
  // Every logged reading reaches the session too, so its summary and record
  // end where the log file ends; without live readings they are all it hears.
  // A percentage the table cannot convert is no experience.
  const bool converted = !ExperienceOfReading(recognizedLevel_, recognizedExp_, state_.settings.expPercentDecimals,
                                              *expTable_)
                              .sizeUnknown;
  if (heard.point && converted) {
    if (step.rebase) {
      session_.Rebase(heard.point->level, heard.point->exp, monotonicMs);
    } else {
      session_.Add(heard.point->level, heard.point->exp, monotonicMs,
                   state_.settings.deathCostsExp ? DeathPenalty::UpToATenth : DeathPenalty::None);
    }
    // The panel shows what the session now holds; without live readings the
    // screen stays as it was.
    if (state_.settings.liveSampling) ShowFigures();
  }
  return heard;
}
