#pragma once
// The main window: its controls, the handlers of the monitoring cycle and
// the manual commands, and the layout. It holds the program's shared state
// and lends it to the monitoring cycle and the dialogs; it drives the cycle
// and draws what the cycle reports.

#include <QDateTime>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "history/goal.h"
#include "main_window/layout_rule.h"
#include "monitoring/monitoring_cycle.h"
#include "monitoring/program_state.h"
#include "persistence/notice.h"

class BackgroundWork;
class CompactView;
class Form2;
class Form3;
class FormInputCheck;
class LivePanel;
class RateChart;
class SetupGuide;
class QAction;
class QComboBox;
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
  void CaptureStep();

  // Manual commands.
  void cmdCapture_Click();
  void cmdRecognize_Click();
  void menuPattern_Click(int area);
  // The state line clicked while it tells of a failed reading.
  void TeachFailedReading();
  void menuPatternSave_Click();
  void menuPrtScr_Click();
  void menuOption_Click();
  void menuGuide_Click();
  void menuEnd_Click();

  // The options dialog's layout when debug mode was switched (no minimum,
  // no resize trace: the dialog writes its own line).
  void ApplyDebugModeLayout();

  ProgramState& State() { return state_; }
  const ProgramState& State() const { return state_; }
  // The cycle this window drives; others may listen to it too.
  MonitoringCycle& Monitor() { return monitor_; }
  const MonitoringCycle& Monitor() const { return monitor_; }
  bool IsMonitoring() const { return monitor_.Monitoring(); }
  QString LogText() const { return logText_; }
  Form2* OptionsDialog() const;
  Form3* PatternEditor() const;
  // The set-up guide, once opened (a first start opens it).
  SetupGuide* Guide() const;
  void menuCompact_Click();
  CompactView* Compact() const;
  TrayIcon* Tray() const { return tray_; }
  QComboBox* MemoField() const { return cboMemo_; }

 signals:
  // The Exit menu (0), or the pattern editor finding no usable patterns
  // (1): the program must end now with this code.
  void endRequested(int exitCode);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // プリントスクリーン's wait is over: the window in front, as a bitmap.
  void SaveScreenshot();
  void CreateControls();
  void CreateMenus();
  void CreateDialogs();

  void EndNow(int exitCode);
  void AppendLog(const QString& text, bool caretToEnd);
  void ShowPreview(int area, int digit, int x);
  void ShowNotice(const Notice& notice);
  void ShowPatternHolders();
  // After every change of the pattern set: prepares it for recognition once
  // (instead of on every reading) and shows the holders.
  void AdoptPatterns();
  void CreateTray();
  void UpdateTray();
  void RefreshStateLine();
  void FitStateLine();
  // The game's outer rectangle, and what of it our windows keep clear of.
  std::optional<QRect> GameOuter() const;
  std::vector<QRect> SpotsToKeepClear() const;
  static QList<QRect> ScreenAreas();
  void KeepCompactViewClear();
  // Where the compact view, wanted at `wanted` (its frame), may go.
  QPoint CompactViewPlace(const QRect& wanted) const;
  // Every window of ours on the screen, frame included.
  std::vector<QRect> OwnWindowRects() const;
  // The main window where it was left, or beside the game on a first start.
  void PlaceMainWindow();
  // Where the main window is now (as it was before it was maximised), into
  // the settings and the configuration file.
  void RememberPlaces();

  // What the monitoring cycle reports (form1_monitoring.cpp, form1_live.cpp);
  // ListenToMonitor connects them.
  void ListenToMonitor();
  void LogAppended(const QString& text, bool scrollToEnd);
  void MonitoringChanged(bool monitoring);
  void CaptureChanged(int area, const QImage& picture);
  void CaptionChanged(int area, const QString& caption);
  void PreviewShown(int area, int digit, int x);
  void FiguresChanged(const SessionFigures& figures, const std::vector<SessionPoint>& points);
  void StateChanged();
  void AlertChanged(AlertKind kind, bool raised, const QString& text);
  void RateLogged(double rate);
  void MemoChanged(const QString& memo);
  void MeasurementKept(const MeasurementRecord& record);
  void Announced(const QString& text);

  // The memo, the goal and the history's pace (form1_history.cpp).
  void CreateMemoField();
  void MemoTyped(const QString& text);
  void ShowMemoEverywhere();
  void ReadRecentRecords();
  void ShowPace();
  void ShowGoal(const SessionFigures& figures);
  void Warned(const QString& title, const QString& text);

  QSize ClassicOuterSize() const;
  void OnClientResized();
  // The layout again at the present size (the goal's row came or went).
  void ApplyLayout();
  int GoalRowHeight() const;  // what the goal's row adds to the live panel
  void KeepLogRoom();
  void PlaceLogAndRows(MainLayout layout);
  void CreateLiveControls();

  Services& services_;
  ProgramState state_;
  MonitoringCycle monitor_;
  TrayIcon* tray_ = nullptr;
  QString logText_;
  bool ended_ = false;  // Exit or the close box: no handler may act any more

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
  LivePanel* panelLive_ = nullptr;
  RateChart* chartLive_ = nullptr;
  QLabel* lblState_ = nullptr;
  QTimer* refreshState_ = nullptr;  // the state line's countdown, once a second
  QPointer<CompactView> compact_;
  QComboBox* cboMemo_ = nullptr;
  // The records of the last days, read once off the window's thread and
  // added to as measurements end, for the pace of the goal.
  std::vector<MeasurementRecord> recent_;
  std::optional<QString> recentFolder_;  // the save folder they were read from; none: being read
  BackgroundWork* recentReading_ = nullptr;
  RecentPace pace_;
  bool goalRowShown_ = false;  // the live panel has room for the goal's row

  QMenu* menuFile_ = nullptr;
  QAction* menuPatternSave_ = nullptr;
  QAction* menuEnd_ = nullptr;
  QMenu* menuTool_ = nullptr;
  QAction* menuOption_ = nullptr;
  QAction* menuGuide_ = nullptr;
  std::array<QAction*, 2> menuPattern_{};
  QAction* menuPrtScr_ = nullptr;
  QAction* menuCompact_ = nullptr;
  QAction* menuRun_ = nullptr;
  QAction* menuStop_ = nullptr;

  // Guarded: a dialog closed with its close box may be gone.
  QPointer<FormInputCheck> formInputCheck_;
  QPointer<Form2> form2_;
  QPointer<Form3> form3_;
  QPointer<SetupGuide> guide_;
};
