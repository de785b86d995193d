#pragma once
// The main window's fixed texts and the file names of its manual commands.

#include <QDateTime>
#include <QString>

#include "capture/window_system.h"  // kGameTitle
#include "persistence/notice.h"

inline const QString kVersionText = QStringLiteral("Ver.0.21");

// "Tallymeter  For MapleStory": product, two spaces, "For ", the game.
QString MainWindowTitle();

// A second copy was started.
Notice AlreadyRunningNotice();

// A file of a manual command could not be written.
Notice CannotSaveNotice(const QString& path);

// Nothing could be captured for the screenshot (no window in front).
Notice CannotCaptureNotice();

// <program>/Pattern/Capture<area>_MMddhhmmss.bmp: no year.
QString PatternCaptureFileName(const QString& programFolder, int area, const QDateTime& now);

// <program>/PrtScr_yyyyMMddhhmmss.bmp: four-digit year.
QString ScreenshotFileName(const QString& programFolder, const QDateTime& now);

// Milliseconds between two readings of the unsigned 32-bit tick count; a
// wrap of the count in between still gives the true (small) difference.
double TickDifferenceMs(double t0, double t1);

// "#0.000秒": at least one digit before the point, three after it. The
// trace's text, Japanese in every language.
QString ElapsedText(double seconds);
// The same in the language of the windows.
QString ShownElapsedText(double seconds);
