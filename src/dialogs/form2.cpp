#include "dialogs/form2.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include "accounting/log_headers.h"
#include "capture/area_follow.h"
#include "dialogs/alert_options.h"
#include "dialogs/goal_options.h"
#include "dialogs/placed_windows.h"
#include "capture/capture_area.h"
#include "dialogs/clickable_label.h"
#include "dialogs/form_input_check.h"
#include "monitoring/message_boxes.h"
#include "dialogs/reading_options.h"
#include "persistence/config_file.h"
#include "persistence/debug_trace.h"

namespace {

// The note beside the button says 10 seconds; the wait has always been 5.
constexpr std::int64_t kTestCaptureWaitMs = 5000;

}  // namespace

Form2::Form2(ProgramState& state, Services& services, FormInputCheck& inputCheck,
             std::function<void()> debugModeChanged, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      state_(state),
      services_(services),
      inputCheck_(inputCheck),
      debugModeChanged_(std::move(debugModeChanged)) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(tr("オプション"));
  setModal(false);
  setFixedSize(512, 436 + AlertOptions::kHeight + kSightOptionHeight + GoalOptions::kHeight + ReadingOptions::kHeight +
               kLanguageOptionHeight);
  BuildControls();
  Connect();
  BuildLiveOptions();
  BuildSightOption();
  BuildLanguageOption();
}

void Form2::Connect() {
  for (int area = 0; area < 2; ++area) {
    const AreaControls& c = areas_[area];
    connect(c.sx, &ClickableLabel::clicked, this, [this, area] { NumericClicked(NumericSetting::StartX, area); });
    connect(c.sy, &ClickableLabel::clicked, this, [this, area] { NumericClicked(NumericSetting::StartY, area); });
    connect(c.ex, &ClickableLabel::clicked, this, [this, area] { NumericClicked(NumericSetting::SizeX, area); });
    connect(c.ey, &ClickableLabel::clicked, this, [this, area] { NumericClicked(NumericSetting::SizeY, area); });
    connect(c.test, &QPushButton::clicked, this, [this, area] { TestCaptureClicked(area); });
    connect(c.pick, &QPushButton::clicked, this, [this, area] { PickClicked(area); });
  }
  connect(lblCaptureInterval_, &ClickableLabel::clicked, this, [this] { NumericClicked(NumericSetting::Interval, 0); });
  connect(lblLag_, &ClickableLabel::clicked, this, [this] { NumericClicked(NumericSetting::Lag, 0); });

  // toggled, not clicked: a box set by Fill runs its handler exactly as a
  // click of the user would, whenever its state changes.
  connect(chkAutoStart_, &QCheckBox::toggled, this, [this](bool on) { state_.settings.autoStart = on; });
  connect(chkBeepBeep_, &QCheckBox::toggled, this, [this](bool on) { state_.settings.beepBeep = on; });
  connect(chkSaveDistance_, &QCheckBox::toggled, this, [this](bool on) { state_.settings.saveDistance = on; });
  connect(chkSaveCsv_, &QCheckBox::toggled, this, &Form2::SaveCsvChanged);
  connect(chkDebug_, &QCheckBox::toggled, this, &Form2::DebugChanged);

  txtSaveFolder_->installEventFilter(this);
  txtSaveFile_->installEventFilter(this);

  connect(cmdSave_, &QPushButton::clicked, this, &Form2::SaveClicked);
  connect(cmdEnd_, &QPushButton::clicked, this, &Form2::BackClicked);
}

void Form2::ShowFromMenu() {
  for (AreaControls& c : areas_) c.preview->clear();
  if (!isVisible()) PlaceBesideOwner(this, parentWidget());
  show();
  raise();
  activateWindow();
}

void Form2::Fill() {
  const Settings& s = state_.settings;
  for (int area = 0; area < 2; ++area) {
    const CaptureRegion& r = s.captureRegions[area];
    areas_[area].sx->setText(QString::number(r.sx));
    areas_[area].sy->setText(QString::number(r.sy));
    areas_[area].ex->setText(QString::number(r.ex));
    areas_[area].ey->setText(QString::number(r.ey));
  }
  // Each of these may run its handler, which may write the settings; so
  // every flag is read afresh just before its box is set.
  chkSaveCsv_->setChecked(state_.settings.saveCsv);
  chkSaveDistance_->setChecked(state_.settings.saveDistance);
  chkAutoStart_->setChecked(state_.settings.autoStart);
  chkBeepBeep_->setChecked(state_.settings.beepBeep);
  chkDebug_->setChecked(state_.debugMode);
  lblCaptureInterval_->setText(QString::number(state_.settings.captureInterval));
  lblLag_->setText(QString::number(state_.settings.lag));
  // A text the user is still typing (the window went to the back and came
  // to the front again) is left alone; it is stored when the field is left.
  if (!txtSaveFolder_->isModified()) txtSaveFolder_->setText(state_.settings.saveFolder);
  if (!txtSaveFile_->isModified()) txtSaveFile_->setText(state_.settings.saveFile);
  lblSaveCsv_->setText(state_.settings.saveCsv ? QStringLiteral("CSV") : QStringLiteral("TXT"));
  FillLiveOptions();
  alertOptions_->Fill();
  FillSightOption();
  goalOptions_->Fill();
  readingOptions_->Fill();
  FillLanguageOption();
}

bool Form2::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) Fill();
  return QDialog::event(event);
}

void Form2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Fill();
}

void Form2::closeEvent(QCloseEvent* event) {
  // The close box only hides the dialog: every value lives in the settings,
  // and the next Options command shows it filled afresh. A text typed but
  // not yet left is stored first, as leaving the field would.
  if (txtSaveFolder_->isModified()) SaveFolderLeft();
  if (txtSaveFile_->isModified()) SaveFileLeft();
  QDialog::closeEvent(event);
}

void Form2::keyPressEvent(QKeyEvent* event) {
  // There is no cancel button, so Escape does not close the dialog.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    // Leaving the field for another control of the dialog stores it. Focus
    // lost to a context menu (pasting) or to another window (a message box
    // among them) is no leaving.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      if (watched == txtSaveFolder_) SaveFolderLeft();
      if (watched == txtSaveFile_) SaveFileLeft();
    }
  }
  return QDialog::eventFilter(watched, event);
}

void Form2::NumericClicked(NumericSetting setting, int area) {
  const NumericSettingInfo info = InfoOf(setting);
  const QString current = QString::number(FieldOf(state_.settings, setting, area));
  QPointer<Form2> alive(this);
  const double result = InputCheckBox(inputCheck_, info.min, info.max, current, info.step, info.prompt, tr("設定値入力"));
  if (!alive) return;  // the program went away while the input dialog was open
  if (const auto value = ValueToStore(result)) {
    const bool region = setting == NumericSetting::StartX || setting == NumericSetting::StartY ||
                        setting == NumericSetting::SizeX || setting == NumericSetting::SizeY;
    if (region) {
      // Typed for the game window as it is now, as a picked area is.
      Settings edited = state_.settings;
      FieldOf(edited, setting, area) = *value;
      StoreArea(state_.settings, area, edited.captureRegions[area], GameOuterSize());
    } else {
      FieldOf(state_.settings, setting, area) = *value;
    }
  }
  Fill();  // what the activation after the input dialog shows
}

void Form2::SaveCsvChanged(bool checked) {
  state_.settings.saveCsv = checked;
  lblSaveCsv_->setText(checked ? QStringLiteral("CSV") : QStringLiteral("TXT"));
  state_.fileHeader = FileHeader(checked);
}

void Form2::DebugChanged(bool checked) {
  state_.debugMode = checked;
  if (debugModeChanged_) debugModeChanged_();
  services_.trace.Event(QStringLiteral(" Change DebugMode･･･End "));
}

void Form2::SaveFolderLeft() {
  const QString typed = txtSaveFolder_->text();
  txtSaveFolder_->setModified(false);
  FolderChoice choice;
  const QString& program = state_.programFolder;
  // What is typed is checked as it would be written: a folder near the
  // program folder is written relative to it.
  if (SaveFolderStorable(typed, program)) choice = ChooseSaveFolder(typed, program);
  if (!SaveFolderStorable(typed, program) || !SaveFolderStorable(choice.folder, program)) {
    services_.boxes.Inform(tr("フォルダ名に使用できない文字が含まれています。"), tr("入力エラー"));
    txtSaveFolder_->setText(state_.settings.saveFolder);
    return;
  }
  if (choice.invalid) services_.boxes.Inform(tr("フォルダ名が不正です。"), tr("アクセスエラー"));
  state_.settings.saveFolder = choice.folder;
}

void Form2::SaveFileLeft() {
  const QString typed = txtSaveFile_->text();
  txtSaveFile_->setModified(false);
  if (!SaveFileStorable(typed)) {
    services_.boxes.Inform(tr("ファイル名に使用できない文字が含まれています。"), tr("入力エラー"));
    txtSaveFile_->setText(state_.settings.saveFile);
    return;
  }
  state_.settings.saveFile = typed;
}

void Form2::TestCaptureClicked(int area) {
  const CaptureRegion region = state_.settings.captureRegions[area];
  // The timer dies with the dialog: a capture never lands in a closed one.
  testCaptures_.at(static_cast<std::size_t>(area)) = services_.clock.After(kTestCaptureWaitMs, [this, area, region] {
    const QImage picture = CaptureForegroundArea(services_.windows, region);
    areas_[area].preview->setPixmap(QPixmap::fromImage(picture));
  });
}

void Form2::SaveClicked() {
  if (const auto notice = ConfigFile(QStringLiteral("SAVE"), state_.settings, state_.programFolder)) {
    services_.boxes.Inform(notice->text, notice->title);
  }
  services_.trace.Event(QStringLiteral(" Saving ConfigFile･･･End "));
}

void Form2::BackClicked() {
  hide();
  if (QWidget* main = parentWidget()) {
    main->show();
    main->raise();
    main->activateWindow();
  }
}
