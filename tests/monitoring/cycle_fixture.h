#pragma once
// The monitoring cycle on fakes, driven as the main window drives it: a
// program folder of its own with the delivered patterns, a clock that moves
// when told, a scripted game window, recorded message boxes, and a listener
// that keeps what the cycle reports.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "accounting/log_headers.h"
#include "monitoring/monitoring_cycle.h"
#include "monitoring/monitoring_texts.h"
#include "persistence/debug_trace.h"
#include "persistence/pattern_store.h"
#include "persistence/text_file.h"
#include "support/fakes.h"
#include "support/game_screen.h"
#include "support/temp_folder.h"

// What the cycle reported, as a window would show it.
struct Reported {
  void Listen(MonitoringCycle& cycle) {
    QObject::connect(&cycle, &MonitoringCycle::logAppended, [this](const QString& text, bool) { log += text; });
    QObject::connect(&cycle, &MonitoringCycle::monitoringChanged, [this](bool on) { monitoring.push_back(on); });
    QObject::connect(&cycle, &MonitoringCycle::captionChanged, [this](int area, const QString& caption) {
      captions.at(static_cast<std::size_t>(area)) = caption;
    });
    QObject::connect(&cycle, &MonitoringCycle::figuresChanged, [this](const SessionFigures& f, const auto&) {
      ++figureUpdates;
      figures = f;
    });
    QObject::connect(&cycle, &MonitoringCycle::alertChanged, [this](AlertKind kind, bool raised, const QString&) {
      if (raised) raisedAlerts.push_back(kind);
    });
    QObject::connect(&cycle, &MonitoringCycle::rateLogged, [this](double r) { rate = r; });
  }

  // Lines of the log that contain `text`.
  int LogLines(const QString& text) const {
    return static_cast<int>(log.split(QStringLiteral("\r\n")).filter(text).size());
  }

  QString log;
  std::vector<bool> monitoring;
  std::array<QString, 2> captions;
  int figureUpdates = 0;
  SessionFigures figures;
  std::vector<AlertKind> raisedAlerts;
  std::optional<double> rate;
};

// Public, so a test can run a second program beside its own.
class CycleTest : public ::testing::Test {
 public:
  CycleTest() {
    InstallPatterns(folder_);
    windows_.screen.fill(Qt::black);
    state_.programFolder = folder_.Path();
  }

  // The program starts with the default settings, no recognition lag,
  // changed by `change`: patterns read, a saved measurement offered, auto
  // start when set.
  void Start(const std::function<void(Settings&)>& change = {}) {
    Settings settings = Settings::Defaults(folder_.Path());
    settings.lag = 0;
    if (change) change(settings);
    state_.settings = settings;
    Restart();
  }
  // The same settings, a new start of the program (after a crash, say).
  void Restart() {
    cycle_.reset();
    seen_ = Reported();
    PatternFiles(QStringLiteral("READ"), state_.patternImages, state_.patterns, folder_.Path(), clock_.Now());
    state_.screenHeader = ScreenHeader();
    state_.fileHeader = FileHeader(state_.settings.saveCsv);
    cycle_ = std::make_unique<MonitoringCycle>(state_, services_);
    seen_.Listen(*cycle_);
    const bool continued = cycle_->OfferToContinueMeasurement();
    if (!continued && state_.settings.autoStart) cycle_->AutoStart();
  }
  // Started with `change`, the game in front at level 190 (it needs
  // 1,312,399,850, so the guard believes the counter) and the first capture taken.
  void StartReading(const std::function<void(Settings&)>& change = {}) {
    Start(change);
    OpenGame("190", "1234567890");
    Run();
    RunFor(20);
  }
  MonitoringCycle& cycle() { return *cycle_; }
  Settings& settings() { return state_.settings; }

  // The game window with `level` and `exp` on screen; in front when asked.
  void OpenGame(const QString& level, const QString& exp, bool inFront = true) {
    ShowCounters(windows_, game_, level, exp, inFront);
  }
  // Another window takes the focus and covers the whole game.
  void CoverGame() { windows_.foreground = windows_.Add(QStringLiteral("Other"), windows_.windows.at(game_).outer); }
  void CloseGame() {
    windows_.Remove(game_);
    windows_.foreground = 0;
    game_ = 0;
  }

  // Run: the cycle's 10-second ticks count from now.
  void Run() { cycle().Run(); }

  // Moves the clock on by `seconds`; the cycle's timers run on the way.
  void RunFor(int seconds) { clock_.AdvanceSeconds(seconds); }

  // キャプチャ pressed, and its countdown waited out (no timer tick between).
  void PressCapture() {
    cycle().ManualCapture();
    clock_.Advance(MonitoringCycle::kManualWaitMs);
  }

  QStringList TraceMessages() const { return ::TraceMessages(folder_); }
  std::string FileText(const QString& name) const { return DecodeCp932(folder_.Read(name)).toStdString(); }

  TempFolder folder_;
  FakeClock clock_;
  FakeWindowSystem windows_;
  OpenBoxes boxes_;
  DebugTrace trace_{folder_.Path(), [this] { return clock_.Now(); }};
  Services services_{clock_, windows_, boxes_, trace_};
  ProgramState state_;
  Reported seen_;
  std::unique_ptr<MonitoringCycle> cycle_;
  WindowId game_ = 0;
};
