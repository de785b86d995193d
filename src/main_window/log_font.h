#pragma once
// The log panel's font. The log's columns are counted in Shift_JIS bytes, so
// every Latin character must be as wide as every other and a Japanese one
// exactly two of them: a fixed-pitch Japanese font, which each platform
// names differently (MS Gothic on Windows, IPAGothic or Noto Sans Mono CJK
// on Linux).

#include <QFont>
#include <QString>
#include <QStringList>

// The families to try on this platform, best first.
QStringList LogFontFamilies();

// The first of `preferred` that `installed` holds (letter case aside), in
// the spelling `installed` gives; empty when it holds none.
QString ChooseLogFontFamily(const QStringList& preferred, const QStringList& installed);

// Whether `font` lines up the log's columns: a sample line of Latin and
// Japanese characters is as wide as its Shift_JIS bytes counted in the
// width of one digit.
bool AlignsLogColumns(const QFont& font);

// The log's font: the first family of LogFontFamilies() installed here that
// aligns the columns; else any installed fixed-pitch Japanese font that
// does; else the system's fixed-pitch font, which at least keeps the digits
// in their columns.
QFont LogFont();
