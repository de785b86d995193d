#pragma once
// Whether the program runs for the first time in its folder: neither the
// configuration file nor the player's pattern folder exists yet. A first
// start installs the delivered patterns without a word and leads the player
// through the set-up; a Pattern/ folder that goes missing later is a fault
// and is reported.

#include <QString>

bool IsFirstStart(const QString& programFolder);
