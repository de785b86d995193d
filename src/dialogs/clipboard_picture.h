#pragma once
// The picture a player means when pasting into a pattern slot: an image on
// the clipboard (as image editors and viewers copy one: PNG, BMP and the
// like), or an image file copied in a file manager (a file URL).

#include <QImage>

class QMimeData;

// The picture as RGB32, or a null image when the clipboard holds neither.
QImage ClipboardPicture(const QMimeData* data);
