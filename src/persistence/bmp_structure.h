#pragma once
// Whether a Windows bitmap file holds everything its header promises. Qt
// decodes damaged files without complaint (a cut-short file, an RLE stream
// that runs past its rows, a pixel offset past the end, palette indices
// beyond the palette) and fills the gaps with whatever it has; as a digit
// pattern such a picture gives false readings, so it must count as
// unreadable instead.

#include <QByteArray>

// True when the file's structure agrees with its header: a known header,
// one plane, a usable depth and compression, the palette and the pixels
// inside the file, every palette index inside the palette, and an RLE
// stream that stays inside the picture and ends with its end mark.
bool SoundBmp(const QByteArray& bytes);
