#pragma once
// The short texts the screen shows for a moment and an amount, the same in
// the log, the misread guard's line, the session summary and the tray: one
// place, so they never drift apart.

#include <QDateTime>
#include <QString>

// "MM/dd hh:mm" (12/05 09:05): always 11 characters, hours 00 to 23.
QString LogDateText(const QDateTime& at);

// A whole number grouped by three as the log shows it ("1,234,567",
// "-1,000"); a fraction is rounded as the log's columns round it.
QString GroupedNumber(double value);
