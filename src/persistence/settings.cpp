#include "persistence/settings.h"

#include <QDir>

Settings Settings::Defaults(const QString& programFolder) {
  Settings s;
  s.captureRegions[0] = CaptureRegion{35, 576, 44, 13};
  s.captureRegions[1] = CaptureRegion{463, 570, 90, 9};
  s.autoStart = false;
  s.captureInterval = 20;
  s.beepBeep = false;
  // Shown in the options dialog and stored in the file as the system writes paths.
  s.saveFolder = QDir::toNativeSeparators(programFolder);
  s.saveFile = QStringLiteral("給与明細");
  s.saveCsv = false;
  s.saveDistance = false;
  s.lag = 50;
  return s;
}
