#pragma once
// The live side of monitoring, beside the timed captures: a look at the game
// at every timer tick, the session model fed from it, and everything that
// shows it (panel, chart, compact view, state line). The main window owns
// one and calls it from the monitoring cycle; it never touches the log,
// the log file, the due time or the trace.

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "accounting/session_model.h"
#include "dialogs/program_state.h"
#include "main_window/live_sampler.h"
#include "main_window/state_line.h"

class CompactView;
class LivePanel;
class PatternMatcher;
class QLabel;
class QTimer;
class QWidget;
class RateChart;

class LiveMeter : public QObject {
  Q_OBJECT
 public:
  struct Views {
    LivePanel* panel = nullptr;
    RateChart* chart = nullptr;
    QLabel* stateLine = nullptr;
    QWidget* mainWindow = nullptr;  // shown again from the compact view
  };
  // `monitoring` and `nextCapture` read the main window's cycle.
  LiveMeter(ProgramState& state, Services& services, Views views, std::function<bool()> monitoring,
            std::function<QDateTime()> nextCapture, QObject* parent = nullptr);
  ~LiveMeter() override;

  // Run (or auto start): a new session.
  void Started();
  // Stop (or the game lost): the session's summary line for the on-screen
  // log, empty when it took no reading.
  QString Stopped();

  // Every timer tick while monitoring. `matcher` is null on a tick that
  // makes the timed capture: that tick only looks at the game. Returns what
  // was read and what the session made of it (the alerts hear of it too).
  struct TickReading {
    LiveReading reading;
    ReadingVerdict verdict = ReadingVerdict::Ignored;
  };
  std::optional<TickReading> Tick(const PatternMatcher* matcher);

  // The table read at start: sizes for the session and for converting a
  // percentage shown in the experience area.
  void SetExpTable(std::shared_ptr<const ExpTable> table);

  // A manual command's wait, shown as a countdown.
  void BeginManualWait(const QString& command, double ms);
  void EndManualWait();

  void ToggleCompactView();
  // The program ends: the compact view has no parent to take it along.
  void CloseCompactView();
  CompactView* Compact() const;

  QString StateText() const;
  const SessionModel& Session() const { return session_; }
  // Where the last tick saw the game.
  GameSeen Game() const { return game_; }
  void RefreshStateLine();

 private:
  void ShowFigures();
  void UpdateRefreshTimer();

  ProgramState& state_;
  Services& services_;
  Views views_;
  std::function<bool()> monitoring_;
  std::function<QDateTime()> nextCapture_;
  std::shared_ptr<const ExpTable> expTable_ = CompiledExpTable();
  SessionModel session_;
  GameSeen game_ = GameSeen::Unknown;
  QDateTime behindSince_;
  QString manualCommand_;
  QDateTime manualWaitEnd_;
  QTimer* refresh_ = nullptr;  // the state line's countdown, once a second
  QPointer<CompactView> compact_;
};
