// The live side of monitoring, beside the timed captures: a look at the game
// at every timer tick, the session model fed from it, the figures it gives,
// and the state line with the manual commands' countdown. It never touches
// the log, the log file, the due time or the trace.

#include <algorithm>

#include "accounting/percent_reading.h"
#include "base/counter_reading.h"
#include "capture/clock.h"
#include "monitoring/monitoring_cycle.h"
#include "monitoring/monitoring_texts.h"
#include "recognition/pattern_matcher.h"

void MonitoringCycle::StartSession() {
  session_.Start(services_.clock.Now(), services_.clock.MonotonicMs());
  failures_.EndRow();
  liveGuard_.Reset();
  game_.Forget();
  ShowFigures();
}

void MonitoringCycle::StopSession() {
  const bool wasRunning = session_.Running();
  session_.Stop(services_.clock.Now(), services_.clock.MonotonicMs());
  // The session's summary goes to the screen only; the log file never has it.
  // Without live readings the session was fed by the timed captures for
  // the record alone: the log on screen has nothing more than they wrote.
  const QString summary = wasRunning && state_.settings.liveSampling ? session_.SummaryLine() : QString();
  if (!summary.isEmpty()) AppendLog(summary + QStringLiteral("\r\n"), true);
}

void MonitoringCycle::LiveTick(bool due) {
  // The tick that makes the timed capture only looks whether the game is there.
  const bool sample = !due && state_.settings.liveSampling;
  const PatternMatcher* matcher = sample ? &Matcher() : nullptr;
  const GameView view = Look();
  const LiveObservation seen = ObserveGame(services_.windows, view, state_.settings, matcher);
  if (due) return;  // the capture step tells the alerts what it finds
  if (sample && seen.game == GameSeen::InFront) NoteAreasRead(!seen.unread[0], !seen.unread[1]);
  if (!seen.reading) {
    TellAlerts(seen.game);
    return;
  }
  const Settings& settings = state_.settings;
  const ExpFromArea fromArea =
      ExperienceOfReading(seen.reading->level, seen.reading->exp, settings.expPercentDecimals, *expTable_,
                          seen.reading->expText);
  if (fromArea.decimalsDisagree) NoteAreasRead(true, false);
  // A percentage the table cannot convert tells the session nothing.
  if (!ExpRead(fromArea.exp)) {
    TellAlerts(seen.game);
    return;
  }
  const LiveReading reading{seen.reading->level, fromArea.exp, seen.reading->expText};
  const std::int64_t ms = services_.clock.MonotonicMs();
  const DeathPenalty death = settings.deathCostsExp ? DeathPenalty::UpToATenth : DeathPenalty::None;
  // A misread digit must not reach the panel as a huge gain or loss; off,
  // the guard still weighs losses, as the timed readings' guard does.
  const GuardVerdict verdict = liveGuard_.Check(reading.level, reading.exp, ms, death, settings.misreadGuard);
  if (verdict == GuardVerdict::Implausible) {
    session_.NoteMisread();
    TellAlerts(seen.game, AlertEvent::Reading::Implausible);
    ShowFigures();
    return;
  }
  if (verdict == GuardVerdict::Rebased) session_.Rebase(reading.level, reading.exp, ms);
  switch (verdict == GuardVerdict::Rebased ? ReadingVerdict::Rebased
                                           : session_.Add(reading.level, reading.exp, ms, death)) {
    case ReadingVerdict::Ignored:
      TellAlerts(seen.game);
      break;
    case ReadingVerdict::Misread:
      TellAlerts(seen.game, AlertEvent::Reading::Implausible);
      break;
    case ReadingVerdict::Accepted:
    case ReadingVerdict::Rebased:
      TellAlerts(seen.game, AlertEvent::Reading::Ok, ReadingPoint{reading.level, reading.exp});
      break;
  }
  ShowFigures();
}

void MonitoringCycle::SetExpTable(std::shared_ptr<const ExpTable> table) {
  expTable_ = table;
  evaluator_.SetExpTable(table);
  guard_.SetExpTable(table);
  liveGuard_.SetExpTable(table);
  session_.SetExpTable(std::move(table));
}

SessionFigures MonitoringCycle::Figures() const {
  SessionFigures figures = session_.Figures(services_.clock.MonotonicMs(), services_.clock.Now());
  if (monitoring_ && failures_.FailingSince()) {
    figures.failingSince = failures_.FailingSince();
    figures.levelFailing = failures_.LevelFailing();
    figures.expFailing = failures_.ExpFailing();
  }
  return figures;
}

void MonitoringCycle::NoteAreasRead(bool levelRead, bool expRead) {
  // A failed reading redraws nothing else: the panel is told when the row
  // of failures begins, changes its areas or ends.
  if (failures_.NoteAreasRead(levelRead, expRead, services_.clock.Now())) ShowFigures();
}

void MonitoringCycle::ShowFigures() {
  const SessionFigures figures = Figures();
  emit figuresChanged(figures, session_.Points());
}

bool MonitoringCycle::CountingDown() const {
  return monitoring_ || manualWaits_.Any() ||
         (manualOutcome_ && manualOutcome_->endMs > services_.clock.MonotonicMs());
}

std::optional<int> MonitoringCycle::ManualSecondsLeft(const QString& command) const {
  return manualWaits_.SecondsLeft(command);
}

QString MonitoringCycle::StateText() const { return StateLineText(StateInput()); }

bool MonitoringCycle::StateTellsReadingFailure() const { return StateLineTellsReadingFailure(StateInput()); }

StateLineInput MonitoringCycle::StateInput() const {
  StateLineInput in;
  in.nowMs = services_.clock.MonotonicMs();
  in.monitoring = monitoring_;
  in.game = game_.Game();
  in.behindSinceMs = game_.BehindSinceMs();
  in.hidden = game_.Hidden();
  in.grabTrouble = grabTrouble_.Trouble();
  in.nextCaptureMs = schedule_.DueMs().value_or(in.nowMs);
  if (const ManualWaits::Countdown* latest = manualWaits_.Latest()) {
    in.manualCommand = latest->command;
    in.manualWaitEndMs = latest->endMs;
  } else if (manualOutcome_ && manualOutcome_->endMs > in.nowMs) {
    in.manualOutcome = manualOutcome_->text;
  }
  in.stoppedBecause = stoppedBecause_;
  in.gameWaitEndMs = GameWaitEndMs();
  in.readingFailure = ReadingFailureText(failures_.Reasons());
  return in;
}
