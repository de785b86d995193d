#include "dialogs/alert_options.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

namespace {

QCheckBox* Box(QWidget* parent, const char* name, const QString& text, const QRect& at) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QLatin1String(name));
  box->setGeometry(at);
  return box;
}

}  // namespace

AlertOptions::AlertOptions(Settings& settings, QWidget* parent)
    : QGroupBox(tr("認識チェックと警告"), parent), settings_(settings) {
  setObjectName(QStringLiteral("grpAlerts"));
  chkMisreadGuard_ = Box(this, "chkMisreadGuard", tr("ありえない読取りは記録しない"), QRect(8, 20, 230, 20));
  auto* minutesCaption = new QLabel(tr("警告までの時間"), this);
  minutesCaption->setObjectName(QStringLiteral("lblAlertMinutes_t"));
  minutesCaption->setGeometry(248, 21, 100, 18);
  txtAlertMinutes_ = new QSpinBox(this);
  txtAlertMinutes_->setObjectName(QStringLiteral("txtAlertMinutes"));
  txtAlertMinutes_->setRange(1, 1440);
  txtAlertMinutes_->setSuffix(tr(" 分"));
  txtAlertMinutes_->setGeometry(350, 18, 80, 24);
  chkAlertNotify_ = Box(this, "chkAlertNotify", tr("通知で知らせる"), QRect(8, 46, 150, 20));
  chkAlertBeep_ = Box(this, "chkAlertBeep", tr("音で知らせる"), QRect(168, 46, 130, 20));
  chkAlertLogLine_ = Box(this, "chkAlertLogLine", tr("測定結果に表示"), QRect(308, 46, 150, 20));
  chkAnnounce_ = Box(this, "chkAnnounce", tr("レベルアップと目標到達も知らせる (通知と測定結果)"),
                     QRect(8, 70, 420, 20));

  chkGameWait_ = Box(this, "chkGameWait", tr("ゲームが閉じても計測を続けて再起動を待つ"), QRect(8, 94, 330, 20));
  txtGameWaitMinutes_ = new QSpinBox(this);
  txtGameWaitMinutes_->setObjectName(QStringLiteral("txtGameWaitMinutes"));
  txtGameWaitMinutes_->setRange(1, 1440);
  txtGameWaitMinutes_->setSuffix(tr(" 分"));
  txtGameWaitMinutes_->setGeometry(350, 92, 80, 24);

  connect(chkMisreadGuard_, &QCheckBox::toggled, this, [this](bool on) { settings_.misreadGuard = on; });
  connect(txtAlertMinutes_, &QSpinBox::valueChanged, this, [this](int minutes) { settings_.alertMinutes = minutes; });
  connect(chkAlertNotify_, &QCheckBox::toggled, this, [this](bool on) { settings_.alertNotify = on; });
  connect(chkAlertBeep_, &QCheckBox::toggled, this, [this](bool on) { settings_.alertBeep = on; });
  connect(chkAlertLogLine_, &QCheckBox::toggled, this, [this](bool on) { settings_.alertLogLine = on; });
  connect(chkAnnounce_, &QCheckBox::toggled, this, [this](bool on) { settings_.announce = on; });
  // One setting: the minutes waited, 0 for not waiting.
  connect(chkGameWait_, &QCheckBox::toggled, this, [this](bool on) {
    txtGameWaitMinutes_->setEnabled(on);
    settings_.gameWaitMinutes = on ? txtGameWaitMinutes_->value() : 0;
  });
  connect(txtGameWaitMinutes_, &QSpinBox::valueChanged, this, [this](int minutes) {
    if (chkGameWait_->isChecked()) settings_.gameWaitMinutes = minutes;
  });
}

void AlertOptions::Fill() {
  // Read before any box is set: setting one runs its handler.
  const Settings shown = settings_;
  chkMisreadGuard_->setChecked(shown.misreadGuard);
  // A value from the file outside the box's range stays as it is until the
  // player changes it; the alerts count anything below 1 as 1.
  {
    const QSignalBlocker quiet(txtAlertMinutes_);
    txtAlertMinutes_->setValue(shown.alertMinutes);
  }
  chkAlertNotify_->setChecked(shown.alertNotify);
  chkAlertBeep_->setChecked(shown.alertBeep);
  chkAlertLogLine_->setChecked(shown.alertLogLine);
  chkAnnounce_->setChecked(shown.announce);
  {
    // Off shows the default minutes; a value outside the box's range stays
    // as it is until the player changes it.
    const QSignalBlocker quietBox(chkGameWait_);
    const QSignalBlocker quietMinutes(txtGameWaitMinutes_);
    txtGameWaitMinutes_->setValue(shown.gameWaitMinutes > 0 ? shown.gameWaitMinutes : Settings().gameWaitMinutes);
    chkGameWait_->setChecked(shown.gameWaitMinutes > 0);
  }
  txtGameWaitMinutes_->setEnabled(shown.gameWaitMinutes > 0);
}
