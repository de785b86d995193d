#pragma once
// The line that always says what the program is doing: stopped, watching
// (with the time to the next capture), waiting for the game to come to the
// front (and for how long), the game not found, or a manual command's
// countdown. Pure: the main window gathers the inputs.

#include <QDateTime>
#include <QString>

// What the last look at the game window found.
enum class GameSeen { Unknown, Missing, Behind, InFront };

struct StateLineInput {
  QDateTime now;
  bool monitoring = false;
  GameSeen game = GameSeen::Unknown;
  QDateTime behindSince;  // when the game was first seen behind another window
  QDateTime nextCapture;
  // A manual command waiting before it acts: its name and when the wait ends.
  QString manualCommand;
  QDateTime manualWaitEnd;
};

QString StateLineText(const StateLineInput& input);

// "mm:ss" of a span, minutes not wrapped at the hour; negative spans are 0.
QString MinutesSecondsText(qint64 seconds);
