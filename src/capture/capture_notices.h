#pragma once
// What the player is told when the game cannot be read as it is shown:
// covered by another window, resized, or grabbed black or frozen. The texts
// name the likely causes and what to do, and point to the README section
// that explains them; the trace texts say which way a picture came.

#include <QSize>
#include <QString>

#include "capture/game_sight.h"
#include "capture/grab_check.h"

// The README section these texts point to.
inline const QString kCaptureHelpSection = QStringLiteral("Two monitors, covered game, resizing, black captures");

// The state line for a game that is there but cannot be read where it
// stands; empty for Visible (the caller shows what it shows today).
QString AreasSeenStateText(AreasSeen seen);

// The state line, the one log line and the alert for black or frozen grabs;
// empty for GrabTrouble::None.
QString GrabTroubleStateText(GrabTrouble trouble);
QString GrabTroubleLogText(GrabTrouble trouble);
QString GrabTroubleAlertText(GrabTrouble trouble);

// The log line, once, when the first reading at areas moved for a new
// window size has read.
QString AreasMovedLogText(const QSize& from, const QSize& to);
// The message when the first reading after the game window changed size
// did not read.
QString AreasUnreadableText(const QSize& size);

// The trace text of a grab that came the given way.
QString GrabWayTraceText(GrabWay way);
