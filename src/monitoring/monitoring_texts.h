#pragma once
// What the monitoring cycle tells the player and the trace, in one place.

#include <QString>

#include "capture/window_system.h"  // kGameTitle
#include "persistence/notice.h"

// After a line of the on-screen log that the log file did not receive.
inline const QString kUnwrittenMark = QStringLiteral("  ※ファイル未書込み");

// After the alert of readings that keep failing, when a window of this
// program lies over a capture area.
inline const QString kOwnWindowOverAreaText = QStringLiteral("（Tallymeterのウィンドウが読取範囲に重なっています）");

// The game window is not there (Run, auto start, a due capture).
Notice GameMissingNotice();

// The state line after the game was lost with a log file active, at `time`
// ("hh:mm").
QString GameLostStopText(const QString& time);

// The state line after キャプチャ found the game behind another window (or
// gone) when its wait was over: nothing was captured.
QString ManualCaptureNotInFrontText();
QString ManualCaptureMissingText();

// A continued measurement's log file has gone; a new one is begun.
Notice ContinuedLogMissingNotice(const QString& path);

// The measurement under way cannot be kept for a resume after a crash.
Notice MeasurementStateUnsavedNotice(const QString& path);
