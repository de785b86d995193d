// The options dialog's controls and where they stand: the interval row, the
// debug box and the two buttons on top; the start-up and sound boxes; the
// two capture-area blocks; the folder, file, CSV, per-month and lag rows.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "accounting/log_file.h"
#include "dialogs/alert_options.h"
#include "dialogs/goal_options.h"
#include "dialogs/clickable_label.h"
#include "dialogs/form2.h"
#include "dialogs/reading_options.h"

namespace {

QString Indexed(const char* name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

QLabel* Caption(QWidget* parent, const QString& name, const QString& text, const QRect& at) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(at);
  return label;
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& text, const QRect& at) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QLatin1String(name));
  box->setGeometry(at);
  return box;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& text, const QRect& at) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setGeometry(at);
  // Enter in a text field must not press a button of its own accord.
  button->setAutoDefault(false);
  return button;
}

QLineEdit* TextField(QWidget* parent, const char* name, const QRect& at) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QLatin1String(name));
  field->setGeometry(at);
  return field;
}

}  // namespace

ClickableLabel* Form2::ValueLabel(const QString& name, const QString& shapeName, const QRect& at) {
  // The rectangle drawn around a clickable value tells it apart from the
  // static captions.
  auto* shape = new QFrame(this);
  shape->setObjectName(shapeName);
  shape->setFrameShape(QFrame::Box);
  shape->setGeometry(at.adjusted(-2, -2, 2, 2));
  auto* label = new ClickableLabel(this);
  label->setObjectName(name);
  label->setGeometry(at);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setText(QStringLiteral("0"));
  return label;
}

void Form2::BuildArea(int area, int top) {
  AreaControls& c = areas_[area];
  Caption(this, Indexed("lblCapture_t", area), area == 0 ? tr("キャプチャ領域1") : tr("キャプチャ領域2"),
          QRect(8, top, 120, 18));

  const int startRow = top + 24;
  Caption(this, Indexed("lblCapture_s_t", area), tr("始点"), QRect(16, startRow + 2, 40, 18));
  Caption(this, Indexed("lblCapture_sx_t", area), tr("X："), QRect(58, startRow + 2, 20, 18));
  c.sx = ValueLabel(Indexed("lblCapture_sx", area), Indexed("Shape2", area), QRect(80, startRow, 48, 20));
  Caption(this, Indexed("lblCapture_sy_t", area), tr("Y："), QRect(138, startRow + 2, 20, 18));
  c.sy = ValueLabel(Indexed("lblCapture_sy", area), Indexed("Shape3", area), QRect(160, startRow, 48, 20));
  Caption(this, Indexed("lblCapture_s_u", area), QStringLiteral("pix"), QRect(214, startRow + 2, 26, 18));

  const int sizeRow = top + 52;
  Caption(this, Indexed("lblCapture_e_t", area), tr("サイズ"), QRect(16, sizeRow + 2, 42, 18));
  Caption(this, Indexed("lblCapture_ex_t", area), tr("X："), QRect(58, sizeRow + 2, 20, 18));
  c.ex = ValueLabel(Indexed("lblCapture_ex", area), Indexed("Shape4", area), QRect(80, sizeRow, 48, 20));
  Caption(this, Indexed("lblCapture_ey_t", area), tr("Y："), QRect(138, sizeRow + 2, 20, 18));
  c.ey = ValueLabel(Indexed("lblCapture_ey", area), Indexed("Shape5", area), QRect(160, sizeRow, 48, 20));
  Caption(this, Indexed("lblCapture_e_u", area), QStringLiteral("pix"), QRect(214, sizeRow + 2, 26, 18));

  c.test = Button(this, Indexed("cmdCapture", area), tr("テスト"), QRect(248, top + 20, 64, 26));
  c.pick = Button(this, Indexed("cmdPick", area), tr("範囲を選択…"), QRect(80, top + 76, 128, 22));
  Caption(this, Indexed("lblCapture_h", area), tr("10秒後にキャプチャ"), QRect(248, top + 54, 116, 18));
  c.preview = Caption(this, Indexed("picCapture", area), QString(), QRect(368, top, 136, 88));
  c.preview->setFrameShape(QFrame::Panel);
  c.preview->setFrameShadow(QFrame::Sunken);
  c.preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Form2::BuildControls() {
  Caption(this, QStringLiteral("lblCaptureInterval_t"), tr("キャプチャ周期"), QRect(8, 12, 90, 18));
  lblCaptureInterval_ =
      ValueLabel(QStringLiteral("lblCaptureInterval"), QStringLiteral("shpCaptureInterval"), QRect(102, 10, 48, 20));
  Caption(this, QStringLiteral("lblCaptureInterval_u"), tr("分"), QRect(156, 12, 36, 18));
  chkDebug_ = CheckBox(this, "chkDebug", tr("デバッグモード"), QRect(196, 8, 130, 20));
  Caption(this, QStringLiteral("Label1"), tr("(遅くなります)"), QRect(214, 28, 110, 16));
  cmdSave_ = Button(this, QStringLiteral("cmdSave"), tr("保 存"), QRect(384, 6, 60, 28));
  cmdEnd_ = Button(this, QStringLiteral("cmdEnd"), tr("戻 る"), QRect(448, 6, 60, 28));

  chkAutoStart_ = CheckBox(this, "chkAutoStart", tr("起動と同時にロギング開始"), QRect(8, 52, 220, 20));
  chkBeepBeep_ = CheckBox(this, "chkBeepBeep", tr("キャプチャ時に音をならす"), QRect(248, 52, 220, 20));

  BuildArea(0, 80);
  BuildArea(1, 180);

  Caption(this, QStringLiteral("lblSaveFolder_t"), tr("保存場所"), QRect(8, 288, 66, 18));
  txtSaveFolder_ = TextField(this, "txtSaveFolder", QRect(76, 284, 330, 24));
  Caption(this, QStringLiteral("lblSaveFolder_u"), tr(" ＋%1").arg(LogFolderShown()), QRect(410, 288, 96, 18));

  Caption(this, QStringLiteral("lblSaveFile_t"), tr("ファイル名"), QRect(8, 318, 66, 18));
  txtSaveFile_ = TextField(this, "txtSaveFile", QRect(76, 314, 200, 24));
  Caption(this, QStringLiteral("lblSaveFile_u"), tr("＋ ［開始日時］ ．"), QRect(280, 318, 150, 18));
  lblSaveCsv_ = Caption(this, QStringLiteral("lblSaveCsv"), QStringLiteral("TXT"), QRect(408, 318, 40, 18));

  chkSaveCsv_ = CheckBox(this, "chkSaveCsv", tr("CSVファイルで保存する"), QRect(8, 346, 240, 20));
  chkSaveDistance_ = CheckBox(this, "chkSaveDistance", tr("一ヶ月ごとのファイルにする"), QRect(8, 372, 240, 20));

  Caption(this, QStringLiteral("lblLag_t"), tr("ラグ回避時間"), QRect(8, 406, 86, 18));
  lblLag_ = ValueLabel(QStringLiteral("lblLag"), QStringLiteral("shpLag"), QRect(98, 404, 48, 20));
  Caption(this, QStringLiteral("lblLag_u"), tr("m秒"), QRect(152, 406, 30, 18));

  Caption(this, Indexed("lblSave", 0), tr("保存しないと次回起動時に"), QRect(300, 384, 206, 18));
  Caption(this, Indexed("lblSave", 1), tr("設定が引継がれません。"), QRect(300, 404, 206, 18));

  alertOptions_ = new AlertOptions(state_.settings, this);
  alertOptions_->setGeometry(8, 432, 496, AlertOptions::kHeight - 6);
  goalOptions_ = new GoalOptions(state_.settings, this);
  goalOptions_->setGeometry(8, 432 + AlertOptions::kHeight + kSightOptionHeight, 496, GoalOptions::kHeight - 6);
  readingOptions_ = new ReadingOptions(state_.settings, this);
  readingOptions_->setGeometry(8, 432 + AlertOptions::kHeight + kSightOptionHeight + GoalOptions::kHeight, 496, ReadingOptions::kHeight - 6);
}
