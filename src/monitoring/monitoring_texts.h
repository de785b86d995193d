#pragma once
// What the monitoring cycle tells the player and the trace, in one place.

#include <QString>

#include "capture/window_system.h"  // kGameTitle
#include "persistence/notice.h"

// After a line of the on-screen log that the log file did not receive.
inline const QString kUnwrittenMark = QStringLiteral("  ※ファイル未書込み");

// The game window is not there (Run, auto start, a due capture).
Notice GameMissingNotice();

// A continued measurement's log file has gone; a new one is begun.
Notice ContinuedLogMissingNotice(const QString& path);

// The measurement under way cannot be kept for a resume after a crash.
Notice MeasurementStateUnsavedNotice(const QString& path);
