#include "dialogs/goal_options.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QSpinBox>

#include "history/goal.h"

GoalOptions::GoalOptions(Settings& settings, QWidget* parent)
    : QGroupBox(tr("目標"), parent), settings_(settings) {
  setObjectName(QStringLiteral("grpGoal"));
  auto* levelCaption = new QLabel(tr("目標レベル"), this);
  levelCaption->setGeometry(8, 23, 70, 18);
  txtGoalLevel_ = new QSpinBox(this);
  txtGoalLevel_->setObjectName(QStringLiteral("txtGoalLevel"));
  txtGoalLevel_->setRange(0, 999);
  txtGoalLevel_->setSpecialValueText(tr("なし"));
  txtGoalLevel_->setGeometry(80, 20, 70, 24);
  chkGoalDate_ = new QCheckBox(tr("期日"), this);
  chkGoalDate_->setObjectName(QStringLiteral("chkGoalDate"));
  chkGoalDate_->setGeometry(180, 22, 60, 20);
  txtGoalDate_ = new QDateEdit(this);
  txtGoalDate_->setObjectName(QStringLiteral("txtGoalDate"));
  txtGoalDate_->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  txtGoalDate_->setCalendarPopup(true);
  txtGoalDate_->setGeometry(244, 20, 110, 24);

  connect(txtGoalLevel_, &QSpinBox::valueChanged, this, [this](int level) { settings_.goalLevel = level; });
  connect(chkGoalDate_, &QCheckBox::toggled, this, [this] { DateChanged(); });
  connect(txtGoalDate_, &QDateEdit::dateChanged, this, [this] { DateChanged(); });
}

void GoalOptions::DateChanged() {
  txtGoalDate_->setEnabled(chkGoalDate_->isChecked());
  settings_.goalDate = chkGoalDate_->isChecked() ? GoalDateValue(txtGoalDate_->date()) : 0;
}

void GoalOptions::Fill() {
  // Read before any box is set: setting one runs its handler.
  const Settings shown = settings_;
  txtGoalLevel_->setValue(std::max(0, shown.goalLevel));
  const QDate date = GoalOfSettings(shown).date;
  {
    const QSignalBlocker quiet(txtGoalDate_);
    // Without a date the box offers a month from today, ready to be ticked.
    txtGoalDate_->setDate(date.isValid() ? date : QDate::currentDate().addMonths(1));
  }
  chkGoalDate_->setChecked(date.isValid());
  txtGoalDate_->setEnabled(date.isValid());
}
