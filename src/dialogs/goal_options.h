#pragma once
// The options dialog's goal: a target level and, if the player wants one, a
// date to reach it by. Each box writes its setting at once, as the dialog's
// other boxes do; the dialog's save button stores them with the rest.

#include <QGroupBox>

#include "persistence/settings.h"

class QCheckBox;
class QDateEdit;
class QSpinBox;

class GoalOptions : public QGroupBox {
  Q_OBJECT
 public:
  static constexpr int kHeight = 54;
  GoalOptions(Settings& settings, QWidget* parent);

  // Puts the settings on screen.
  void Fill();

 private:
  void DateChanged();

  Settings& settings_;
  QSpinBox* txtGoalLevel_ = nullptr;
  QCheckBox* chkGoalDate_ = nullptr;
  QDateEdit* txtGoalDate_ = nullptr;
};
