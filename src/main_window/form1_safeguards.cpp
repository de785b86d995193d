// The safeguards around the monitoring cycle: the misread guard before
// evaluation, the measurement saved after it and offered again at the next
// start, the alerts fed once per tick, and the tray icon that shows them.

#include <QApplication>
#include <cmath>

#include "accounting/percent_reading.h"
#include "base/display_text.h"
#include "capture/clock.h"
#include "capture/window_system.h"
#include "dialogs/message_boxes.h"
#include "main_window/form1.h"
#include "main_window/main_texts.h"
#include "main_window/tray_icon.h"
#include "persistence/debug_trace.h"
#include "persistence/measurement_state.h"

namespace {

// A saved measurement older than this is not offered: the player has long
// moved on, and a rate across such a gap would mean nothing.
constexpr qint64 kContinueLimitSeconds = 2 * 60 * 60;

const QString kContinueTitle = QStringLiteral("計測の再開");

bool Read(std::int32_t level, double exp) { return level != 0 && exp != 0 && std::isfinite(exp); }

QString TraceName(AlertKind kind) {
  switch (kind) {
    case AlertKind::NoGain:
      return QStringLiteral("NoGain");
    case AlertKind::GameAway:
      return QStringLiteral("GameAway");
    case AlertKind::RecognitionTrouble:
      return QStringLiteral("RecognitionTrouble");
  }
  return QString();
}

}  // namespace

EvaluationStep Form1::GuardedEvaluation(const QDateTime& now, std::int64_t monotonicMs) {
  const Settings& settings = state_.settings;
  const std::int32_t level = recognizedLevel_;
  // What the experience area showed, as experience within the level.
  const ExpFromArea fromArea = ExperienceOfReading(level, recognizedExp_, settings.expPercentDecimals, *expTable_);
  if (fromArea.sizeUnknown) {
    // Read, but not to be weighed or logged: the percentage still tells
    // whether the level moved on.
    alertReading_ = AlertEvent::Reading::Ok;
    alertPoint_ = ReadingPoint{level, recognizedExp_};
    return PercentWithoutSizeStep(level, now);
  }
  const double exp = fromArea.exp;
  const bool read = Read(level, exp);
  if (settings.misreadGuard && read) {
    const DeathPenalty death = settings.deathCostsExp ? DeathPenalty::UpToATenth : DeathPenalty::None;
    const GuardVerdict verdict = guard_.Check(level, exp, monotonicMs, death);
    if (verdict == GuardVerdict::Implausible) {
      alertReading_ = AlertEvent::Reading::Implausible;
      return ImplausibleReadingStep(level, exp, now);
    }
    if (verdict == GuardVerdict::Confirmed) services_.trace.Event(QStringLiteral(" ImageRecognition confirmed"));
  }
  // Off, the guard is not even asked: evaluation is exactly as without it.
  if (!settings.misreadGuard) guard_.Reset();
  const bool hadPrevious = evaluator_.HasPreviousReading();
  EvaluationStep step = evaluator_.Evaluate(level, exp, now, monotonicMs, settings.saveCsv);
  // Evaluation began anew (a level change it does not bridge): so does the guard.
  if (hadPrevious && step.beginLogFile) guard_.Resume(level, exp, monotonicMs);
  alertReading_ = read ? AlertEvent::Reading::Ok : AlertEvent::Reading::Failed;
  alertPoint_ = read ? std::optional<ReadingPoint>(ReadingPoint{level, exp}) : std::nullopt;
  return step;
}

void Form1::AfterEvaluation(const EvaluationStep& step, const QDateTime& now, std::int64_t monotonicMs) {
  if (step.rate && tray_) tray_->SetLastRate(step.rate);
  if (step.retrySoon) return;  // failed or implausible: the saved state stays as it was
  const auto& previous = evaluator_.PreviousReading();
  if (!previous || logWriter_.LogStamp().isEmpty()) return;
  // The tick count does not survive a reboot; the wall clock does.
  const MeasurementState saved{logWriter_.LogStamp(), now.addMSecs(previous->ms - monotonicMs), previous->level,
                               std::llround(previous->exp)};
  if (!SaveMeasurementState(state_.programFolder, saved)) {
    services_.trace.Event(QStringLiteral(" Measurement state not saved"));
  }
}

void Form1::OfferToContinueMeasurement() {
  const QString folder = state_.programFolder;
  const StoredMeasurement stored = ReadMeasurementState(folder);
  if (stored.kind == StoredMeasurement::Kind::None) return;
  // A level beyond the game's cap was never a reading of it.
  if (!stored.state || stored.state->level > kTopLevel) {
    const QString aside = SetAsideMeasurementState(folder);
    ShowNotice({QStringLiteral("前回の計測の記録が読めないため、使わずに退避しました。\r\n") + aside, kContinueTitle});
    services_.trace.Event(QStringLiteral(" Measurement state unreadable, set aside"));
    return;
  }
  const MeasurementState& saved = *stored.state;
  const QDateTime now = services_.clock.Now();
  const qint64 ageMs = saved.lastReading.msecsTo(now);
  if (ageMs < 0 || ageMs > kContinueLimitSeconds * 1000) {
    // Too old, or from a clock that has since been set back: not offered.
    ClearMeasurementState(folder);
    services_.trace.Event(QStringLiteral(" Measurement state too old, dropped"));
    return;
  }
  const QString question = QStringLiteral("前回の計測が終わらないまま終了しています（最終読取 ") +
                           LogDateText(saved.lastReading) +
                           QStringLiteral("）。\r\n同じログファイルに続けて計測しますか？");
  if (!services_.boxes.AskYesNo(question, kContinueTitle)) {
    ClearMeasurementState(folder);
    services_.trace.Event(QStringLiteral(" Measurement not continued"));
    return;
  }
  const std::int64_t readingMs = services_.clock.MonotonicMs() - ageMs;
  evaluator_.Resume({saved.level, static_cast<double>(saved.exp), readingMs});
  guard_.Resume(saved.level, static_cast<double>(saved.exp), readingMs);
  logWriter_.Resume(saved.logStamp);
  continuing_ = true;
  services_.trace.Event(QStringLiteral(" Measurement continued"));
}

void Form1::EndMeasurement() {
  continuing_ = false;
  ClearMeasurementState(state_.programFolder);
}

void Form1::CreateTray() {
  tray_ = new TrayIcon({[this] { menuRun_Click(); }, [this] { menuStop_Click(); },
                        [this] {
                          if (ended_) return;
                          if (isVisible() && !isMinimized()) {
                            hide();
                          } else {
                            showNormal();
                            activateWindow();
                          }
                        }},
                       this);
  UpdateTray();
}

void Form1::NoteLiveReading(const std::optional<LiveMeter::TickReading>& live) {
  // The alerts hear of every reading, live or timed; a timed capture later in
  // the same tick has the last word.
  if (!live || live->verdict == ReadingVerdict::Ignored) return;
  if (live->verdict == ReadingVerdict::Misread) {
    alertReading_ = AlertEvent::Reading::Implausible;
    alertPoint_.reset();
    return;
  }
  alertReading_ = AlertEvent::Reading::Ok;
  alertPoint_ = ReadingPoint{live->reading.level, live->reading.exp};
}

void Form1::FeedAlerts(GameSeen seen) {
  const AlertEvent::Reading reading = alertReading_;
  const std::optional<ReadingPoint> point = alertPoint_;
  alertReading_ = AlertEvent::Reading::None;
  alertPoint_.reset();
  if (ended_ || !IsMonitoring()) return;

  WindowSystem& windows = services_.windows;
  if (seen == GameSeen::Unknown) {
    const WindowLook look = windows.LookAt(kGameTitle);
    seen = look.window == 0 ? GameSeen::Missing : look.inFront ? GameSeen::InFront : GameSeen::Behind;
  }
  const AlertEvent::Game where = seen == GameSeen::Missing  ? AlertEvent::Game::Missing
                                 : seen == GameSeen::InFront ? AlertEvent::Game::InFront
                                                             : AlertEvent::Game::Behind;
  const Settings& settings = state_.settings;
  const std::vector<AlertChange> changes =
      alerts_.Feed({services_.clock.MonotonicMs(), where, reading, point}, settings.alertMinutes);
  for (const AlertChange& change : changes) {
    if (!change.raised) continue;
    const QString text = AlertText(change.kind, settings.alertMinutes);
    services_.trace.Event(QStringLiteral(" Alert ") + TraceName(change.kind));
    if (settings.alertLogLine) {
      AppendLog(LogDateText(services_.clock.Now()) + QStringLiteral("  警告  ") + text +
                    QStringLiteral("\r\n"),
                true);
    }
    if (settings.alertBeep) windows.Beep();
    if (settings.alertNotify && tray_) tray_->Notify(QStringLiteral("Tallymeter"), text);
  }
  if (!changes.empty()) UpdateTray();
}

void Form1::UpdateTray() {
  if (!tray_) return;
  tray_->SetState(!IsMonitoring()        ? TrayState::Stopped
                  : alerts_.AnyActive() ? TrayState::Alert
                                        : TrayState::Monitoring);
}
