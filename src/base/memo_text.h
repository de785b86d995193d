#pragma once
// The memo a player notes beside a measurement (the hunting ground, say):
// one short line that every file it goes into can hold as it is.

#include <QString>
#include <QStringList>

inline constexpr int kMemoMaxLength = 40;
inline constexpr int kRecentMemoCount = 5;

// The memo as it is kept: line breaks and tabs as blanks, no blanks at its
// ends, characters Shift_JIS cannot spell as "?", at most kMemoMaxLength
// characters. A memo that cannot be saved would otherwise keep the settings
// from being saved at all.
QString MemoText(const QString& typed);

// The memos offered again, newest first: `memo` moves to the front, once;
// an empty one changes nothing.
QStringList WithRecentMemo(const QStringList& recent, const QString& memo);
