#pragma once
// What the monitoring cycle tells the player, in one place: shown on screen
// only, so in the language of the windows.

#include <QString>
#include <array>

#include "capture/window_system.h"  // kGameTitle
#include "persistence/notice.h"

// After a line of the on-screen log that the log file did not receive.
QString UnwrittenMark();

// After the alert of readings that keep failing, when a window of this
// program lies over a capture area.
QString OwnWindowOverAreaText();

// Why the areas of a reading were not read ("経験値: <reason>", areas
// joined), or empty when the reasons are: for the list's line of the
// failed reading and the state line while it is the last.
QString ReadingFailureText(const std::array<QString, 2>& failures);

// After the alert of readings that keep failing: the last one's reasons.
QString LikelyCauseText(const std::array<QString, 2>& failures);

// A line of the on-screen log that is no reading: "<date>  警告  <text>"
// (an alert) or "<date>  お知らせ  <text>" (an announcement), with CR LF.
QString AlertLogLine(const QString& date, const QString& text);
QString AnnouncementLogLine(const QString& date, const QString& text);

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

// The list's line when the level area learned digits at a level-up.
QString LevelDigitsLearnedText(int level, const QString& digits);
