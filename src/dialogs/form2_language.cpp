// The options dialog's choice of the windows' language. The windows are
// built once in one language, so a new choice waits for the next start; the
// files the program writes stay Japanese in every language.
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

#include "dialogs/alert_options.h"
#include "dialogs/form2.h"
#include "dialogs/goal_options.h"
#include "dialogs/reading_options.h"

void Form2::BuildLanguageOption() {
  const int top = 436 + AlertOptions::kHeight + kSightOptionHeight + GoalOptions::kHeight + ReadingOptions::kHeight;
  auto* caption = new QLabel(tr("表示言語"), this);
  caption->setObjectName(QStringLiteral("lblDisplayLanguage_t"));
  caption->setGeometry(8, top + 3, 110, 18);
  cboDisplayLanguage_ = new QComboBox(this);
  cboDisplayLanguage_->setObjectName(QStringLiteral("cboDisplayLanguage"));
  // In the order of DisplayLanguage. Each language is named in itself, so
  // that a player who cannot read the current one still finds their own.
  //: Follow the system's language
  cboDisplayLanguage_->addItem(tr("自動"));
  cboDisplayLanguage_->addItem(QStringLiteral("日本語"));
  cboDisplayLanguage_->addItem(QStringLiteral("English"));
  cboDisplayLanguage_->setGeometry(120, top, 110, 24);
  auto* note = new QLabel(tr("次回の起動から有効になります"), this);
  note->setObjectName(QStringLiteral("lblDisplayLanguage_h"));
  note->setGeometry(238, top + 3, 266, 18);
  connect(cboDisplayLanguage_, &QComboBox::currentIndexChanged, this,
          [this](int index) { state_.settings.displayLanguage = static_cast<DisplayLanguage>(index); });
}

void Form2::FillLanguageOption() {
  const QSignalBlocker quiet(cboDisplayLanguage_);
  cboDisplayLanguage_->setCurrentIndex(static_cast<int>(state_.settings.displayLanguage));
}
