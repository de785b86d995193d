#pragma once
// The options dialog's group for the misread guard, the alerts, the
// good news (a level-up, the goal reached) and the wait for a game that
// closed during a measurement: each box
// writes its setting at once, as the dialog's other boxes do; the dialog's
// save button stores them with the rest.

#include <QGroupBox>

#include "persistence/settings.h"

class QCheckBox;
class QSpinBox;

class AlertOptions : public QGroupBox {
  Q_OBJECT
 public:
  static constexpr int kHeight = 122;
  AlertOptions(Settings& settings, QWidget* parent);

  // Puts the settings on screen.
  void Fill();

 private:
  Settings& settings_;
  QCheckBox* chkMisreadGuard_ = nullptr;
  QSpinBox* txtAlertMinutes_ = nullptr;
  QCheckBox* chkAlertNotify_ = nullptr;
  QCheckBox* chkAlertBeep_ = nullptr;
  QCheckBox* chkAlertLogLine_ = nullptr;
  QCheckBox* chkAnnounce_ = nullptr;
  QCheckBox* chkGameWait_ = nullptr;
  QSpinBox* txtGameWaitMinutes_ = nullptr;
};
