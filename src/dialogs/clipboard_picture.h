#pragma once
// The picture a player means when pasting into a pattern slot: an image on
// the clipboard (as image editors and viewers copy one: PNG, BMP and the
// like, under whatever name the application gave the format), the system's
// own device-independent bitmap, or an image file copied in a file manager
// (a file URL).

#include <QImage>

class QMimeData;

#include <QByteArray>

// The picture as RGB32, or a null image when the clipboard holds none.
// `systemBitmap`: the clipboard's device-independent bitmap as the window
// system hands it over (WindowSystem::ClipboardBitmap), tried when none of
// the formats Qt offers reads.
QImage ClipboardPicture(const QMimeData* data, const QByteArray& systemBitmap = {});

// A device-independent bitmap (a BITMAPINFOHEADER or a later one, its masks
// and colours, then the pixels: a BMP file without its first 14 bytes) as
// RGB32; a null image when it is none.
QImage ImageFromDib(const QByteArray& dib);
