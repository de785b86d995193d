#pragma once
// The options dialog (modeless): shows the settings and edits them in place.

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

#include "capture/clock.h"
#include "dialogs/options_rules.h"
#include "monitoring/program_state.h"

class AlertOptions;
class GoalOptions;
class ReadingOptions;
class ClickableLabel;
class FormInputCheck;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Form2 : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kSightOptionHeight = 24;  // the row below the alert group
  static constexpr int kLanguageOptionHeight = 30;  // the last row

  // `debugModeChanged` lays the main window out for state.debugMode (the main
  // window owns that layout); the dialog writes the trace line itself.
  Form2(ProgramState& state, Services& services, FormInputCheck& inputCheck,
        std::function<void()> debugModeChanged, QWidget* parent = nullptr);

  // What the Options menu does: clears the two test-capture previews, then
  // shows the dialog, or brings it to the front when it is already open.
  void ShowFromMenu();

  // Puts the settings on screen (runs on every activation).
  void Fill();

 signals:
  // The live panel was switched on or off: the main window lays itself out.
  void liveOptionsChanged();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct AreaControls {
    ClickableLabel* sx = nullptr;
    ClickableLabel* sy = nullptr;
    ClickableLabel* ex = nullptr;
    ClickableLabel* ey = nullptr;
    QPushButton* test = nullptr;
    QLabel* preview = nullptr;
    QPushButton* pick = nullptr;  // "範囲を選択…"
  };

  void BuildControls();
  void BuildArea(int area, int top);
  ClickableLabel* ValueLabel(const QString& name, const QString& shapeName, const QRect& at);
  void Connect();
  void BuildLiveOptions();
  void FillLiveOptions();
  void BuildSightOption();  // form2_sight.cpp
  void FillSightOption();
  void BuildLanguageOption();  // form2_language.cpp
  void FillLanguageOption();
  // The game window's outer size now; empty when it is not running.
  QSize GameOuterSize();

  void NumericClicked(NumericSetting setting, int area);
  void SaveCsvChanged(bool checked);
  void DebugChanged(bool checked);
  void SaveFolderLeft();
  void SaveFileLeft();
  void TestCaptureClicked(int area);
  void PickClicked(int area);  // form2_pick.cpp
  void SaveClicked();
  void BackClicked();

  ProgramState& state_;
  Services& services_;
  FormInputCheck& inputCheck_;
  std::function<void()> debugModeChanged_;

  std::array<AreaControls, 2> areas_{};
  // A test capture waits for the player to bring the game forward.
  std::array<std::unique_ptr<ClockTimer>, 2> testCaptures_;
  ClickableLabel* lblCaptureInterval_ = nullptr;
  ClickableLabel* lblLag_ = nullptr;
  QCheckBox* chkAutoStart_ = nullptr;
  QCheckBox* chkBeepBeep_ = nullptr;
  QCheckBox* chkSaveCsv_ = nullptr;
  QCheckBox* chkSaveDistance_ = nullptr;
  QCheckBox* chkDebug_ = nullptr;
  QCheckBox* chkLiveSampling_ = nullptr;
  QCheckBox* chkShowLivePanel_ = nullptr;
  QCheckBox* chkReadWhenVisible_ = nullptr;
  QComboBox* cboDisplayLanguage_ = nullptr;
  QLabel* lblSaveCsv_ = nullptr;
  QLineEdit* txtSaveFolder_ = nullptr;
  QLineEdit* txtSaveFile_ = nullptr;
  QPushButton* cmdSave_ = nullptr;
  QPushButton* cmdEnd_ = nullptr;
  AlertOptions* alertOptions_ = nullptr;
  GoalOptions* goalOptions_ = nullptr;
  ReadingOptions* readingOptions_ = nullptr;
};
