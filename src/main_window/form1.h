#pragma once
// The main window: its controls, the monitoring cycle, the manual commands
// and the layout. It holds the program's shared state and lends it to the
// dialogs; the rules themselves live in the logic libraries.

#include <QDateTime>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "accounting/evaluation.h"
#include "accounting/log_file.h"
#include "accounting/misread_guard.h"
#include "main_window/alerts.h"
#include "main_window/live_meter.h"
#include "recognition/pattern_matcher.h"
#include "main_window/layout_rule.h"
#include "dialogs/program_state.h"
#include "persistence/notice.h"

class Form2;
class Form3;
class FormInputCheck;
class LiveMeter;
class LivePanel;
class RateChart;
class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TrayIcon;

class Form1 : public QMainWindow {
  Q_OBJECT
 public:
  Form1(Services& services, const QString& programFolder, QWidget* parent = nullptr);
  ~Form1() override;

  // The load sequence after the single-instance test: trace, title, show,
  // configuration, patterns, experience table, dialogs, Idle, headers, auto
  // start. False when the program must end at once (no usable patterns).
  bool Load();

  // Monitoring cycle.
  void menuRun_Click();
  void menuStop_Click();
  void timCaptureInterval_Timer();
  void CaptureStep();

  // Manual commands.
  void cmdCapture_Click();
  void cmdRecognize_Click();
  void menuPattern_Click(int area);
  void menuPatternSave_Click();
  void menuPrtScr_Click();
  void menuOption_Click();
  void menuEnd_Click();

  // The options dialog's layout when debug mode was switched (no minimum,
  // no resize trace: the dialog writes its own line).
  void ApplyDebugModeLayout();

  ProgramState& State() { return state_; }
  const ProgramState& State() const { return state_; }
  bool IsMonitoring() const;
  const QDateTime& NextCaptureTime() const { return nextCaptureTime_; }
  QString LogText() const { return logText_; }
  const QImage& Capture(int area) const { return captures_.at(area); }
  const LogFileWriter& LogWriter() const { return logWriter_; }
  std::int32_t RecognizedLevel() const { return recognizedLevel_; }
  double RecognizedExp() const { return recognizedExp_; }
  Form2* OptionsDialog() const;
  Form3* PatternEditor() const;
  LiveMeter& Live() const { return *live_; }
  void menuCompact_Click();
  const AlertMonitor& Alerts() const { return alerts_; }
  TrayIcon* Tray() const { return tray_; }

 signals:
  // The Exit menu (0), or the pattern editor finding no usable patterns
  // (1): the program must end now with this code.
  void endRequested(int exitCode);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The first capture after a start, and the quick retry after a reading
  // that failed or a game behind another window, are due this much later.
  static constexpr int kRetrySeconds = 15;

  void CreateControls();
  void CreateMenus();
  void CreateDialogs();

  void EndNow(int exitCode);
  void EnterMonitoring();
  void EnterIdle();
  // A capture now: the next one is due a whole interval later.
  void StartInterval(const QDateTime& now);
  void AppendLog(const QString& text, bool caretToEnd);
  void SetCapture(int area, const QImage& picture);
  void RecognizeDigits();
  void ShowPreview(int area, int digit, int x);
  void ApplyEvaluation();

  // The safeguards around the monitoring cycle (form1_safeguards.cpp): the
  // misread guard before evaluation, the saved measurement after it, the
  // offer to continue a measurement at start, the alerts and the tray icon.
  EvaluationStep GuardedEvaluation(const QDateTime& now, std::int64_t monotonicMs);
  void AfterEvaluation(const EvaluationStep& step, const QDateTime& now, std::int64_t monotonicMs);
  void OfferToContinueMeasurement();
  void EndMeasurement();
  void CreateTray();
  void NoteLiveReading(const std::optional<LiveMeter::TickReading>& live);
  // `seen`: where this tick already saw the game; Unknown looks again.
  void FeedAlerts(GameSeen seen);
  void UpdateTray();
  void ShowNotice(const Notice& notice);
  void ShowPatternHolders();
  // After every change of the pattern set: prepares it for recognition once
  // (instead of on every reading) and shows the holders.
  void AdoptPatterns();

  QSize ClassicOuterSize() const;
  void OnClientResized();
  void PlaceLogAndRows(MainLayout layout);
  void CreateLiveControls();

  Services& services_;
  ProgramState state_;
  // state_.patterns, prepared. Shared: a running recognition keeps the set
  // it started with while the pattern editor, run from one of its lag
  // waits, replaces this one.
  std::shared_ptr<const PatternMatcher> matcher_;
  // The table read at start; until then the compiled one.
  std::shared_ptr<const ExpTable> expTable_ = CompiledExpTable();
  ReadingEvaluator evaluator_;
  LogFileWriter logWriter_;
  MisreadGuard guard_;
  AlertMonitor alerts_;
  AlertEvent::Reading alertReading_ = AlertEvent::Reading::None;  // read since the last tick
  std::optional<ReadingPoint> alertPoint_;
  bool continuing_ = false;  // a saved measurement goes on: Run must not start a new one
  TrayIcon* tray_ = nullptr;
  QDateTime nextCaptureTime_;
  QDateTime intervalStart_;  // the last capture that set a whole interval
  std::array<QImage, 2> captures_;
  std::int32_t recognizedLevel_ = 0;
  double recognizedExp_ = 0;
  QString logText_;
  bool captureStepActive_ = false;  // a capture step (and maybe its message box) is under way
  bool ended_ = false;              // Exit or the close box: no handler may act any more

  QWidget* client_ = nullptr;
  std::array<QLabel*, 2> lblCapture_t_{};
  std::array<QLabel*, 2> lblCapture_{};
  QLabel* lblElapse_ = nullptr;
  std::array<QLabel*, 2> picCapture_{};
  std::array<QLabel*, 2> picRecognize_{};
  QPushButton* cmdCapture_ = nullptr;
  QPushButton* cmdRecognize_ = nullptr;
  QLabel* lblLog_t_ = nullptr;
  QPlainTextEdit* txtLog_ = nullptr;
  std::array<QLabel*, 20> picPattern_{};
  std::array<QLabel*, 2> picPatternDL_{};
  QTimer* timCaptureInterval_ = nullptr;
  LivePanel* panelLive_ = nullptr;
  RateChart* chartLive_ = nullptr;
  QLabel* lblState_ = nullptr;
  LiveMeter* live_ = nullptr;

  QMenu* menuFile_ = nullptr;
  QAction* menuPatternSave_ = nullptr;
  QAction* menuEnd_ = nullptr;
  QMenu* menuTool_ = nullptr;
  QAction* menuOption_ = nullptr;
  std::array<QAction*, 2> menuPattern_{};
  QAction* menuPrtScr_ = nullptr;
  QAction* menuCompact_ = nullptr;
  QAction* menuRun_ = nullptr;
  QAction* menuStop_ = nullptr;

  // Guarded: a dialog closed with its close box may be gone.
  QPointer<FormInputCheck> formInputCheck_;
  QPointer<Form2> form2_;
  QPointer<Form3> form3_;
};
