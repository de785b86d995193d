#pragma once
// The lines of a text file this program wrote, or that a player saved again
// from another tool: Shift_JIS as written, but a spreadsheet may have turned
// it into UTF-8 (with or without a byte-order mark) or UTF-16. The numbers
// and dates read the same in all of them; only the Japanese texts need the
// right decoding.

#include <QByteArray>
#include <QStringList>

// Every line, without its line end (CR LF, LF or a lone CR). A UTF-16 file
// is known by its byte-order mark or its zero bytes; otherwise each line is
// read as UTF-8 when it is valid UTF-8, else as Shift_JIS.
QStringList DecodedLines(const QByteArray& bytes);
