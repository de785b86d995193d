#pragma once
// Every text file of this program (configuration, logs, trace) is Shift_JIS
// (code page 932), so files move unchanged between this program and Windows
// tools; these are the one way in and out of that encoding.

#include <QByteArray>
#include <QString>

QByteArray EncodeCp932(const QString& text);
QString DecodeCp932(const QByteArray& bytes);

// True when the text is written and read back unchanged in code page 932;
// other characters (accented letters, emoji…) would be written as
// substitutes.
bool FitsCp932(const QString& text);
