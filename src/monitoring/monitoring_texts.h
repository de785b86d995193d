#pragma once
// What the monitoring cycle tells the player and the trace, in one place.

#include <QString>

#include "capture/window_system.h"  // kGameTitle
#include "persistence/notice.h"

// After a line of the on-screen log that the log file did not receive.
inline const QString kUnwrittenMark = QStringLiteral("  ※ファイル未書込み");

// The game window is not there (Run, auto start, a due capture).
Notice GameMissingNotice();
