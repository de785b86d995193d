#pragma once
// The options dialog's group for what the game shows: the experience area's
// counter or a percentage, and whether a death costs experience in the
// version played. Each control writes its setting at once; the dialog's
// save button stores them with the rest.

#include <QGroupBox>

#include "persistence/settings.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

class ReadingOptions : public QGroupBox {
  Q_OBJECT
 public:
  static constexpr int kHeight = 74;
  ReadingOptions(Settings& settings, QWidget* parent);

  // Puts the settings on screen.
  void Fill();

 private:
  void StorePercentSetting();

  Settings& settings_;
  QComboBox* cboExpShown_ = nullptr;
  QSpinBox* txtPercentDecimals_ = nullptr;
  QCheckBox* chkDeathCostsExp_ = nullptr;
};
