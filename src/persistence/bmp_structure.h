#pragma once
// Whether a Windows bitmap file holds everything its header promises. Qt
// decodes damaged files without complaint (a cut-short file, an RLE stream
// that runs past its rows, a pixel offset past the end, palette indices
// beyond the palette) and fills the gaps with whatever it has; as a digit
// pattern such a picture gives false readings, so it must count as
// unreadable instead.

#include <QByteArray>

// True when the file's structure agrees with its header: a known header,
// one plane, a usable depth and compression, colour masks that each pick
// out bits of their own, the palette inside the file, the pixels the header
// declares (rows of its width, stride and number from its pixel offset)
// making up the rest of the file, every palette index inside the palette,
// and an RLE stream that gives every pixel of every row and then its end
// mark. A header that lies in one field (a height or width changed, the
// pixel offset moved) no longer fits its file.
bool SoundBmp(const QByteArray& bytes);
