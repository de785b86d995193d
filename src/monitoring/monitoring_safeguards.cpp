// The safeguards around the monitoring cycle: the misread guard before
// evaluation, the measurement saved after it and offered again at the next
// start, its record kept in the history when it ends, and the alerts and
// the good news told of every look and every reading.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "accounting/percent_reading.h"
#include "base/counter_reading.h"
#include "base/display_text.h"
#include "base/memo_text.h"
#include "capture/clock.h"
#include "capture/game_sight.h"
#include "capture/window_system.h"
#include "history/history_store.h"
#include "monitoring/message_boxes.h"
#include "monitoring/monitoring_cycle.h"
#include "monitoring/monitoring_texts.h"
#include "persistence/config_file.h"
#include "persistence/debug_trace.h"
#include "persistence/measurement_state.h"

#include <QCoreApplication>

namespace {

// A saved measurement older than this is not offered: the player has long
// moved on, and a rate across such a gap would mean nothing.
constexpr qint64 kContinueLimitSeconds = 2 * 60 * 60;

QString ContinueTitle() { return QCoreApplication::translate("MonitoringTexts", "計測の再開"); }

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

// Whether the window system's rectangle and the toolkit's are one window:
// the two may count an invisible resize border or a shadow differently.
bool SameWindow(const QRect& a, const QRect& b) {
  constexpr int kSlack = 16;
  return std::abs(a.left() - b.left()) <= kSlack && std::abs(a.top() - b.top()) <= kSlack &&
         std::abs(a.right() - b.right()) <= kSlack && std::abs(a.bottom() - b.bottom()) <= kSlack;
}

}  // namespace

EvaluationStep MonitoringCycle::GuardedEvaluation(const QDateTime& now, std::int64_t monotonicMs, AlertEvent& heard) {
  const Settings& settings = state_.settings;
  const std::int32_t level = recognizedLevel_;
  // What the experience area showed, as experience within the level.
  const ExpFromArea fromArea =
      ExperienceOfReading(level, recognizedExp_, settings.expPercentDecimals, *expTable_, recognizedExpText_);
  if (fromArea.decimalsDisagree) {
    heard.reading = AlertEvent::Reading::Failed;
    NoteAreasRead(LevelRead(level), false);
    return PercentDecimalsStep(recognizedExpText_, settings.expPercentDecimals, now);
  }
  if (fromArea.sizeUnknown) {
    // Read, but not to be weighed or logged: the percentage still tells
    // whether the level moved on.
    heard.reading = AlertEvent::Reading::Ok;
    heard.point = ReadingPoint{level, recognizedExp_};
    return PercentWithoutSizeStep(level, now);
  }
  const double exp = fromArea.exp;
  const bool read = IsReading(level, exp);
  NoteAreasRead(LevelRead(level), ExpRead(recognizedExp_));
  const DeathPenalty death = settings.deathCostsExp ? DeathPenalty::UpToATenth : DeathPenalty::None;
  GuardVerdict verdict = GuardVerdict::Plausible;
  if (read) {
    // Off, the guard still weighs losses: a gain line is never negative
    // where a death costs nothing.
    verdict = guard_.Check(level, exp, monotonicMs, death, settings.misreadGuard);
    if (verdict == GuardVerdict::Implausible) {
      heard.reading = AlertEvent::Reading::Implausible;
      return ImplausibleReadingStep(level, exp, now);
    }
    if (verdict == GuardVerdict::Confirmed) services_.trace.Event(QStringLiteral(" ImageRecognition confirmed"));
  }
  const bool hadPrevious = evaluator_.HasPreviousReading();
  EvaluationStep step = verdict == GuardVerdict::Rebased
                            ? evaluator_.Rebase(level, exp, now, monotonicMs, settings.saveCsv, death)
                            : evaluator_.Evaluate(level, exp, now, monotonicMs, settings.saveCsv, death);
  // Evaluation began anew (a level change it does not bridge): so does the guard.
  if (hadPrevious && step.beginLogFile) guard_.Resume(level, exp, monotonicMs);
  heard.reading = read ? AlertEvent::Reading::Ok : AlertEvent::Reading::Failed;
  heard.point = read ? std::optional<ReadingPoint>(ReadingPoint{level, exp}) : std::nullopt;
  return step;
}

void MonitoringCycle::AfterEvaluation(const EvaluationStep& step, const QDateTime& now, std::int64_t monotonicMs) {
  if (step.rate) {
    const double rate = *step.rate;
    emit rateLogged(rate);
  }
  if (step.retrySoon) return;  // failed or implausible: the saved state stays as it was
  const auto& previous = evaluator_.PreviousReading();
  if (!previous || logWriter_.LogStamp().isEmpty()) return;
  // The tick count does not survive a reboot; the wall clock does.
  const std::optional<MeasurementRecord> soFar = RecordSoFar();
  MeasurementState saved{logWriter_.LogStamp(), now.addMSecs(previous->ms - monotonicMs), previous->level,
                         std::llround(previous->exp), soFar ? RecordLine(*soFar) : QString(), std::nullopt};
  if (const std::optional<SessionModel::LastReading> last = session_.Last(); last && soFar) {
    saved.recordReading = {last->level, last->exp, now.addMSecs(last->monotonicMs - monotonicMs)};
  }
  if (!SaveMeasurementState(state_.programFolder, saved)) {
    services_.trace.Event(QStringLiteral(" Measurement state not saved"));
    // Measuring goes on; the player only learns that a crash would end it.
    if (!stateUnsavedTold_) {
      stateUnsavedTold_ = true;
      Inform(MeasurementStateUnsavedNotice(MeasurementStatePath(state_.programFolder)));
    }
  }
}

bool MonitoringCycle::OfferToContinueMeasurement() {
  const QString folder = state_.programFolder;
  const StoredMeasurement stored = ReadMeasurementState(folder);
  if (stored.kind == StoredMeasurement::Kind::None) return false;
  // A level beyond the game's cap was never a reading of it.
  if (!stored.state || stored.state->level > kTopLevel) {
    const QString aside = SetAsideMeasurementState(folder);
    Inform({QCoreApplication::translate("MonitoringTexts", "前回の計測の記録が読めないため、使わずに退避しました。\r\n%1")
                .arg(aside),
            ContinueTitle()});
    services_.trace.Event(QStringLiteral(" Measurement state unreadable, set aside"));
    return false;
  }
  const MeasurementState& saved = *stored.state;
  const QDateTime asked = services_.clock.Now();
  const qint64 ageMs = saved.lastReading.msecsTo(asked);
  if (ageMs < 0 || ageMs > kContinueLimitSeconds * 1000) {
    // Too old, or from a clock that has since been set back: not offered.
    ClearMeasurementState(folder);
    services_.trace.Event(QStringLiteral(" Measurement state too old, dropped"));
    return false;
  }
  const QString question =
      QCoreApplication::translate("MonitoringTexts",
                                  "前回の計測が終わらないまま終了しています（最終読取 %1）。\r\n"
                                  "同じログファイルに続けて計測しますか？")
          .arg(LogDateText(saved.lastReading.toOffsetFromUtc(asked.offsetFromUtc())));
  if (!services_.boxes.AskYesNo(question, ContinueTitle())) {
    ClearMeasurementState(folder);
    services_.trace.Event(QStringLiteral(" Measurement not continued"));
    return false;
  }
  // Both clocks are read after the answer: the time the question stood
  // open belongs to the span the next reading is measured over.
  const std::int64_t readingMs = services_.clock.MonotonicMs() - saved.lastReading.msecsTo(services_.clock.Now());
  evaluator_.Resume({saved.level, static_cast<double>(saved.exp), readingMs});
  guard_.Resume(saved.level, static_cast<double>(saved.exp), readingMs);
  logWriter_.Resume(saved.logStamp, state_.fileHeader);
  const std::optional<MeasurementRecord> carried =
      saved.recordSoFar.isEmpty() ? std::nullopt : ParseRecordLine(saved.recordSoFar);
  // The record goes on from the reading it ended at; a file of an earlier
  // version names none, and the saved reading is the nearest to it.
  continueFrom_ = saved.recordReading.value_or(
      MeasurementState::RecordReading{saved.level, static_cast<double>(saved.exp), saved.lastReading});
  book_.Continue(carried);
  if (carried && !carried->memo.isEmpty()) emit memoChanged(book_.Memo());
  continuedFileToCheck_ = true;
  continuing_ = true;
  services_.trace.Event(QStringLiteral(" Measurement continued"));
  // "Yes, continue" continues: monitoring goes on without 開始.
  Run();
  return true;
}

void MonitoringCycle::EndMeasurement() {
  KeepRecord();
  continuing_ = false;
  ClearMeasurementState(state_.programFolder);
}

void MonitoringCycle::SetMemo(const QString& typed) { book_.SetMemo(typed); }

std::optional<MeasurementRecord> MonitoringCycle::RecordSoFar() const {
  return book_.SoFar(Figures(), session_.Points(), services_.clock.Now());
}

void MonitoringCycle::KeepRecord() {
  const std::optional<MeasurementRecord> record = book_.End(Figures(), session_.Points(), services_.clock.Now());
  if (!record) return;  // none under way, or nothing read: nothing to remember
  if (const std::optional<Notice> notice = KeepMeasurement(state_.settings.saveFolder, *record)) {
    services_.trace.Event(QStringLiteral(" Measurement record not written"));
    // Measuring is not at stake, only the history: told once per run.
    if (!recordUnsavedTold_) {
      recordUnsavedTold_ = true;
      Inform(*notice);
    }
  }
  const QStringList recent = WithRecentMemo(state_.settings.recentMemos, record->memo);
  if (recent != state_.settings.recentMemos) {
    state_.settings.recentMemos = recent;
    if (!SaveRecentMemos(state_.programFolder, recent)) services_.trace.Event(QStringLiteral(" Recent memos not saved"));
  }
  emit measurementKept(*record);
}

void MonitoringCycle::Announce(std::int32_t level) {
  for (const Announcement& news : announcer_.Feed(level, state_.settings.goalLevel)) {
    if (!state_.settings.announce) continue;
    services_.trace.Event(news.kind == Announcement::Kind::LevelUp ? QStringLiteral(" Announce LevelUp")
                                                                    : QStringLiteral(" Announce GoalReached"));
    AppendLog(AnnouncementLogLine(LogDateText(services_.clock.Now()), news.text), true);
    emit announced(news.text);
  }
}

void MonitoringCycle::TellAlerts(GameSeen seen, AlertEvent::Reading reading, std::optional<ReadingPoint> point) {
  if (ended_ || !monitoring_) return;
  if (point) Announce(point->level);
  const AlertEvent::Game where = seen == GameSeen::Missing  ? AlertEvent::Game::Missing
                                 : seen == GameSeen::Behind ? AlertEvent::Game::Behind
                                                            : AlertEvent::Game::InFront;
  const Settings& settings = state_.settings;
  const std::vector<AlertChange> changes =
      alerts_.Feed({services_.clock.MonotonicMs(), where, reading, point}, settings.alertMinutes);
  for (const AlertChange& change : changes) {
    QString text = AlertText(change.kind, settings.alertMinutes);
    if (change.raised && change.kind == AlertKind::RecognitionTrouble) {
      text += OwnWindowOverAreas() ? OwnWindowOverAreaText() : LikelyCauseText(failures_.Reasons());
    }
    if (change.raised) {
      services_.trace.Event(QStringLiteral(" Alert ") + TraceName(change.kind));
      if (settings.alertLogLine) {
        AppendLog(AlertLogLine(LogDateText(services_.clock.Now()), text), true);
      }
      if (settings.alertBeep) services_.windows.Beep();
    }
    emit alertChanged(change.kind, change.raised, text);
  }
}

bool MonitoringCycle::OwnWindowOverAreas() {
  if (!ownWindows_) return false;
  WindowSystem& windows = services_.windows;
  const WindowId game = windows.FindWindowByTitle(kGameTitle);
  const std::optional<QRect> outer = game == 0 ? std::nullopt : windows.OuterRect(game);
  if (!outer) return false;
  // Only a window of ours above the game hides it; one below (the main
  // window behind the game in front) is no excuse. Where the window system
  // cannot tell the order, every window of ours counts.
  const std::optional<WindowSight> sight = windows.SightOf(game);
  const auto aboveGame = [&](const QRect& own) {
    return !sight || std::any_of(sight->above.begin(), sight->above.end(),
                                 [&](const OtherWindow& w) { return w.shown && SameWindow(w.rect, own); });
  };
  const std::vector<QRect> own = ownWindows_();
  for (const CaptureRegion& region : state_.settings.captureRegions) {
    const std::optional<QRect> area = AreaOnScreen(*outer, region);
    if (!area) continue;
    const auto over = [&](const QRect& window) { return window.intersects(*area) && aboveGame(window); };
    if (std::any_of(own.begin(), own.end(), over)) return true;
  }
  return false;
}
