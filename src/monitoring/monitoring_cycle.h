#pragma once
// The monitoring cycle, without a window: Run and Stop, the due times and
// the quick retry, the capture step (find the game, see whether it may be
// read, grab, recognise), the misread guard, evaluation and the log file, the saved
// measurement and its resume, the live readings between the timed captures
// with the session they feed, the alerts and the good news, and the record
// of each measurement with its memo for the history. It times its own waits
// and ticks on the clock's timers; the main window drives it with its
// commands and draws what its signals report. The clock, the window system,
// the message boxes and the trace come in as Services; files are written
// under the program and save folders of the ProgramState it is lent.

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "accounting/evaluation.h"
#include "accounting/exp_table.h"
#include "accounting/log_file.h"
#include "accounting/misread_guard.h"
#include "accounting/session_model.h"
#include "capture/area_follow.h"
#include "capture/grab_check.h"
#include "history/measurement_record.h"
#include "monitoring/alerts.h"
#include "monitoring/announcements.h"
#include "monitoring/capture_schedule.h"
#include "monitoring/game_look.h"
#include "monitoring/game_presence.h"
#include "monitoring/grab_trouble.h"
#include "monitoring/live_sampler.h"
#include "monitoring/manual_waits.h"
#include "monitoring/measurement_book.h"
#include "monitoring/program_state.h"
#include "monitoring/reading_failures.h"
#include "monitoring/scan_replay.h"
#include "monitoring/state_line.h"
#include "persistence/measurement_state.h"
#include "persistence/notice.h"

class PatternMatcher;

class MonitoringCycle : public QObject {
  Q_OBJECT

 public:
  // How long キャプチャ and プリントスクリーン wait before they act.
  static constexpr std::int64_t kManualWaitMs = 10000;
  // How often the cycle looks whether a capture is due while monitoring.
  static constexpr std::int64_t kTickMs = 10000;
  // The manual commands that wait, by name; the state line shows the name
  // in the language of the windows.
  static inline const QString kCaptureCommand = QString::fromUtf8(QT_TRANSLATE_NOOP("StateLine", "キャプチャ"));
  static inline const QString kPrintScreenCommand =
      QString::fromUtf8(QT_TRANSLATE_NOOP("StateLine", "プリントスクリーン"));

  MonitoringCycle(ProgramState& state, Services& services);
  ~MonitoringCycle() override;
  MonitoringCycle(const MonitoringCycle&) = delete;
  MonitoringCycle& operator=(const MonitoringCycle&) = delete;

  // ---- what the windows ask of it

  // Start-up, before auto start: offers to continue a measurement the last
  // run left unfinished. True when the player chose to: monitoring then goes
  // on at once (as Run does, so a missing game is told), and the first
  // reading is measured from the saved one over the whole time between.
  bool OfferToContinueMeasurement();
  // Auto start at start-up: monitoring begins when the game runs (the
  // on-screen log then starts with the header), else the player is told.
  void AutoStart();
  // 開始 and 停止.
  void Run();
  void Stop();
  // Every kTickMs while monitoring, counted from Run.
  void Tick();
  // One capture step: find the game, capture and read both areas when it is
  // in front (or, with the option, behind other windows with both areas in
  // sight), evaluate and log. With a lag the reading ends on later timer
  // steps; the step holds back ticks and manual captures until it has.
  void CaptureStep();
  // キャプチャ: the manual wait, then a capture step that starts a whole
  // interval.
  void ManualCapture();
  // A manual command's wait, shown as a countdown on the state line; `then`
  // runs when it is over, unless the program ended meanwhile.
  void ManualWait(const QString& command, std::int64_t ms, std::function<void()> then);
  // 認 識: the pictures as they are, read again; nothing is evaluated.
  // `done` runs when the reading (and its lag) has ended. Refused while
  // another reading is under way.
  void Recognize(std::function<void()> done = {});
  // The pattern set was replaced: it is prepared once for the readings to come.
  void PatternsChanged();
  // The experience table read at start (until then the compiled one): the
  // sizes evaluation, both guards and the session go by.
  void SetExpTable(std::shared_ptr<const ExpTable> table);
  // Where the program's own windows are (screen rectangles, frames
  // included): readings that keep failing under one of them are blamed on
  // it, not on the areas and patterns.
  void SetOwnWindows(std::function<std::vector<QRect>()> source) { ownWindows_ = std::move(source); }
  // The program ends: nothing acts any more and every wait under way is
  // dropped. `measurementEnds`: Exit and the close box end the measurement
  // too; a program that must end because its patterns are gone leaves it to
  // be continued.
  void End(bool measurementEnds);
  // The memo of the measurement (the hunting ground, say), as typed; it is
  // kept as MemoText makes it, with the measurement and its saved state.
  void SetMemo(const QString& typed);

  // ---- what it reports

  bool Monitoring() const { return monitoring_; }
  // A capture step or a reading is under way (its lag, its message box).
  bool Busy() const { return captureStepActive_ || scanReplay_.Playing(); }
  // The due time of the next timed capture, told on the wall clock (it is
  // kept on the monotonic one); invalid before the first start.
  QDateTime NextCaptureTime() const;
  // What the state line says now, and whether it ends with why the last
  // reading failed (it then opens the teacher on that capture).
  QString StateText() const;
  bool StateTellsReadingFailure() const;
  // Whether the state line counts down (monitoring, a manual wait, or news
  // of a manual command that is to go away).
  bool CountingDown() const;
  // Whole seconds left of `command`'s wait (rounded up), or nothing when it
  // is not waiting.
  std::optional<int> ManualSecondsLeft(const QString& command) const;
  const QImage& Capture(int area) const { return captures_.at(static_cast<std::size_t>(area)); }
  // The area the last timed reading could not read (the level first), while
  // that reading is the last, and the capture it failed on.
  std::optional<int> FailingArea() const { return failures_.FailingArea(); }
  const QImage& FailedCapture(int area) const { return failures_.FailedCapture(area); }
  std::int32_t RecognizedLevel() const { return recognizedLevel_; }
  double RecognizedExp() const { return recognizedExp_; }
  const LogFileWriter& LogWriter() const { return logWriter_; }
  const SessionModel& Session() const { return session_; }
  SessionFigures Figures() const;
  const AlertMonitor& Alerts() const { return alerts_; }
  // Where the last look saw the game.
  GameSeen Game() const { return game_.Game(); }
  // Whether a measurement waits for its game to come back.
  bool WaitingForGame() const { return GameWaitEndMs().has_value(); }
  const QString& Memo() const { return book_.Memo(); }
  const std::shared_ptr<const ExpTable>& ExpTableInUse() const { return expTable_; }

 signals:
  // Text for the on-screen log, line ends (CR LF) included; `scrollToEnd`:
  // the newest line must come into view.
  void logAppended(const QString& text, bool scrollToEnd);
  // Monitoring began (Run, auto start, a measurement continued) or ended
  // (Stop, the game lost with a log file active, the program ending).
  void monitoringChanged(bool monitoring);
  // A capture picture of `area` (0 level, 1 experience); null: emptied.
  void captureChanged(int area, const QImage& picture);
  // Recognition's caption of `area`: "認識中…", the digits read, "認識NG".
  void captionChanged(int area, const QString& caption);
  // Debug mode: digit `digit` of `area` is compared at column `x` of its
  // capture; a window may show both side by side.
  void previewShown(int area, int digit, int x);
  // The live figures changed (a reading, Run, Stop). `points` stay with the
  // session: a window may keep a reference until the next signal.
  void figuresChanged(const SessionFigures& figures, const std::vector<SessionPoint>& points);
  // What the state line says may have changed (the game seen, the due time,
  // a manual command's countdown begun or ended).
  void stateChanged();
  // An alert was raised (with the text the player is told) or cleared.
  void alertChanged(AlertKind kind, bool raised, const QString& text);
  // The player was warned with a box that waits for nobody (the game
  // lost): a window may repeat it where it shows news, the tray say.
  void warned(const QString& title, const QString& text);
  // A gain was logged at `rate` thousands per hour.
  void rateLogged(double rate);
  // The measurement's memo changed (typed in a window, or a continued
  // measurement brought its own back).
  void memoChanged(const QString& memo);
  // A measurement ended and its record went to the sessions file (or was to:
  // it may not have reached it).
  void measurementKept(const MeasurementRecord& record);
  // A level-up or the goal reached, to tell the player once (the on-screen
  // log has had its line already).
  void announced(const QString& text);

 private:
  void Inform(const Notice& notice);
  void AppendLog(const QString& text, bool scrollToEnd);

  void EnterMonitoring();
  void EnterIdle();
  void StartTicking();
  void StartInterval();
  // The capture step; `ended` runs when it is over (not when the program
  // ended meanwhile).
  void BeginCaptureStep(std::function<void()> ended);
  void EndCaptureStep();
  void SetCapture(int area, const QImage& picture);
  // What a look at the game found, for the state line; a game back within
  // the wait leaves the time without it out of every rate.
  void SawGame(GameSeen seen, std::optional<AreasSeen> hidden);
  void WarnGameMissing(bool stopped);
  // When the wait for a closed game runs out; nothing while none is waited for.
  std::optional<std::int64_t> GameWaitEndMs() const;
  // Whether one of the program's own windows lies over a capture area now.
  bool OwnWindowOverAreas();
  const PatternMatcher& Matcher();
  // The level area failed: teaches it the digits a level just above the
  // last reading shows that no pattern knows yet, when the capture is that
  // level; says so in the list, once. Whether it learned.
  bool LearnLevelDigitsFromCapture();
  // Reads both captures; what the scan shows is played out one lag per
  // column, and the reading counts (then `then` runs) at its end.
  void RecognizeDigits(std::function<void()> then);
  void ApplyReading(const RecognitionResult& result);
  // What the alerts heard of the reading.
  AlertEvent ApplyEvaluation();

  // The game as it stands and what its grabs show (monitoring_sight.cpp).
  // Every look at the game goes through Look, which keeps what the state
  // line says of it.
  GameView Look();
  void TraceGrabWay();
  // After the reading of a timed or manual capture: the first reading at
  // areas moved for a new window size is judged, and grabs that show no
  // game are told.
  void AfterGrab(const GameView& view, const std::array<QImage, 2>& pictures, const AlertEvent& heard);

  // The safeguards (monitoring_safeguards.cpp). `heard` gets what the
  // alerts are to hear of the reading.
  EvaluationStep GuardedEvaluation(const QDateTime& now, std::int64_t monotonicMs, AlertEvent& heard);
  void AfterEvaluation(const EvaluationStep& step, const QDateTime& now, std::int64_t monotonicMs);
  void EndMeasurement();
  // The measurement under way as the history would keep it (with the part
  // before a crash it continues); nothing before its first reading.
  std::optional<MeasurementRecord> RecordSoFar() const;
  // Its record to the sessions file and its memo to the recent ones.
  void KeepRecord();
  void Announce(std::int32_t level);
  // Every look at the game and every reading, timed, manual or live, as it
  // happens: none can be lost to a later one before the alerts hear of it.
  void TellAlerts(GameSeen seen, AlertEvent::Reading reading = AlertEvent::Reading::None,
                  std::optional<ReadingPoint> point = std::nullopt);

  // The live side (monitoring_live.cpp).
  void StartSession();
  void StopSession();
  void LiveTick(bool due);
  void ShowFigures();
  // Which areas the last reading (timed or live) could not read: failures
  // are dated from the first of a row, and a reading of both ends the row.
  void NoteAreasRead(bool levelRead, bool expRead);
  StateLineInput StateInput() const;

  ProgramState& state_;
  Services& services_;

  // state_.patterns, prepared.
  std::unique_ptr<const PatternMatcher> matcher_;
  std::shared_ptr<const ExpTable> expTable_ = CompiledExpTable();
  ReadingEvaluator evaluator_;
  LogFileWriter logWriter_;
  MisreadGuard guard_;
  AlertMonitor alerts_;
  bool continuing_ = false;  // a saved measurement goes on: Run must not start a new one
  bool continuedFileToCheck_ = false;  // its log file is looked for at its first line
  bool stateUnsavedTold_ = false;      // once per run
  // The measurement's record: when it began (the session's start), the log
  // file its lines went to, the memo, and the part before a crash it goes on from.
  MeasurementBook book_;
  std::optional<MeasurementState::RecordReading> continueFrom_;  // where the carried record ends
  bool recordUnsavedTold_ = false;  // once per run
  Announcer announcer_;

  bool monitoring_ = false;
  CaptureSchedule schedule_;
  std::array<QImage, 2> captures_;
  std::int32_t recognizedLevel_ = 0;
  double recognizedExp_ = 0;
  QString recognizedExpText_;  // what the experience area read, for the percentage's point
  ReadingFailures failures_;
  bool captureStepActive_ = false;  // a capture step (its reading, maybe its message box) is under way
  std::function<void()> stepEnded_;  // what follows the step under way
  ScanReplay scanReplay_;
  std::unique_ptr<ClockTimer> ticking_;  // while monitoring
  bool ended_ = false;  // Exit or the close box: nothing may act any more

  SessionModel session_;
  // The same rules as the timed readings' guard, with a memory of its own:
  // a live reading must never change what a timed one is judged against,
  // so the log file stays what it is without live readings.
  MisreadGuard liveGuard_;
  GamePresence game_;

  // The areas on a resized game window, from one look to the next.
  AreaFollower follower_;
  bool areasUnreadable_ = false;  // told so after a resize, until a reading reads
  GrabTroubleTracker grabTrouble_;
  GrabWay tracedWay_ = GrabWay::Screen;  // only a change of way is traced
  ManualWaits manualWaits_;
  // News of the last manual command, until endMs.
  struct ManualOutcome {
    QString text;
    std::int64_t endMs = 0;
  };
  std::optional<ManualOutcome> manualOutcome_;
  std::function<std::vector<QRect>()> ownWindows_;
  QString stoppedBecause_;  // why the program itself stopped monitoring
};
