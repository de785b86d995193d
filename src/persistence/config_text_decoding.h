#pragma once
// The text of TmConfig.ini from its bytes. The file is Shift_JIS, but a
// Linux editor may have saved it as UTF-8; read as Shift_JIS such a file
// turns a Japanese log folder into mojibake and the logs go to a folder
// nobody looks in.

#include <QByteArray>
#include <QString>

// UTF-8 when the bytes are valid UTF-8 holding non-ASCII bytes and either
// are not a faithful Shift_JIS text (decoding and encoding again gives other
// bytes), or read as Shift_JIS lose the file's own labels that UTF-8 keeps.
// Shift_JIS otherwise, where a field (the text between commas and line
// ends) holding bytes that are not Shift_JIS ends with U+FFFD, the mark of
// a damaged value.
QString DecodeConfigText(const QByteArray& bytes);
