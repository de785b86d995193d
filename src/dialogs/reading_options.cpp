#include "dialogs/reading_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

#include "accounting/percent_reading.h"

namespace {

constexpr int kShowsExperience = 0;
constexpr int kShowsPercent = 1;
constexpr int kDefaultDecimals = 3;  // what the game's percentage shows

}  // namespace

ReadingOptions::ReadingOptions(Settings& settings, QWidget* parent)
    : QGroupBox(tr("ゲームの表示"), parent), settings_(settings) {
  setObjectName(QStringLiteral("grpReading"));
  auto* caption = new QLabel(tr("経験値欄"), this);
  caption->setObjectName(QStringLiteral("lblExpShown_t"));
  caption->setGeometry(8, 21, 60, 18);
  cboExpShown_ = new QComboBox(this);
  cboExpShown_->setObjectName(QStringLiteral("cboExpShown"));
  cboExpShown_->addItem(tr("経験値（数字）"));
  cboExpShown_->addItem(tr("パーセント"));
  cboExpShown_->setGeometry(70, 18, 140, 24);
  auto* decimalsCaption = new QLabel(tr("小数"), this);
  decimalsCaption->setObjectName(QStringLiteral("lblPercentDecimals_t"));
  decimalsCaption->setGeometry(214, 21, 58, 18);
  txtPercentDecimals_ = new QSpinBox(this);
  txtPercentDecimals_->setObjectName(QStringLiteral("txtPercentDecimals"));
  txtPercentDecimals_->setRange(0, kMaxPercentDecimals);
  txtPercentDecimals_->setSuffix(tr(" 桁"));
  txtPercentDecimals_->setValue(kDefaultDecimals);
  txtPercentDecimals_->setGeometry(274, 18, 80, 24);
  chkDeathCostsExp_ = new QCheckBox(tr("死亡で経験値が減る版（レベルの1割まで減っても記録する）"), this);
  chkDeathCostsExp_->setObjectName(QStringLiteral("chkDeathCostsExp"));
  chkDeathCostsExp_->setGeometry(8, 46, 480, 20);

  connect(cboExpShown_, &QComboBox::currentIndexChanged, this, [this] { StorePercentSetting(); });
  connect(txtPercentDecimals_, &QSpinBox::valueChanged, this, [this] { StorePercentSetting(); });
  connect(chkDeathCostsExp_, &QCheckBox::toggled, this, [this](bool on) { settings_.deathCostsExp = on; });
}

void ReadingOptions::StorePercentSetting() {
  const bool percent = cboExpShown_->currentIndex() == kShowsPercent;
  txtPercentDecimals_->setEnabled(percent);
  settings_.expPercentDecimals = percent ? txtPercentDecimals_->value() : -1;
}

void ReadingOptions::Fill() {
  // Read before any control is set: setting one runs its handler.
  const Settings shown = settings_;
  const bool percent = ShowsPercent(shown.expPercentDecimals);
  {
    const QSignalBlocker quietList(cboExpShown_);
    const QSignalBlocker quietDecimals(txtPercentDecimals_);
    cboExpShown_->setCurrentIndex(percent ? kShowsPercent : kShowsExperience);
    // The decimals last chosen stay on offer when the counter is shown.
    if (percent) txtPercentDecimals_->setValue(shown.expPercentDecimals);
    txtPercentDecimals_->setEnabled(percent);
  }
  chkDeathCostsExp_->setChecked(shown.deathCostsExp);
}
