#pragma once
// Pixel fonts and the captures a game would show with them: digits side by
// side at one pitch from the left, a delimiter after them, on a plain or
// gradient background with noise. For the tests of teaching digits.

#include <QColor>
#include <QImage>
#include <QString>
#include <array>
#include <string>
#include <vector>

using Glyph = std::vector<std::string>;  // rows; '#' ink

struct PixelFont {
  const char* name = "";
  std::array<Glyph, 10> digits;
  Glyph delimiter;
  int pitch = 0;  // from one digit's first column to the next one's
};

// 7 x 11 bold digits ending in "]".
PixelFont BoldFont(int pitch);
// 5 x 7 digits ending in "[".
PixelFont SmallFont(int pitch);
// 3 x 5 digits ending in ":".
PixelFont TinyFont(int pitch);

struct CaptureLook {
  QColor ink{255, 255, 255};
  QColor background{16, 24, 64};
  QColor backgroundEnd{16, 24, 64};  // the far side of a gradient; equal: plain
  bool gradientAcross = false;       // left to right instead of top to bottom
  int noise = 0;                     // every channel moved by up to ± this
  int top = 1;                       // blank rows above the glyphs
  int left = 1;                      // blank columns before the first digit
  int extraWidth = 12;               // blank columns after the delimiter
  int extraHeight = 1;               // blank rows below the glyphs
  bool trailer = false;              // more text two columns after the delimiter
  unsigned seed = 1;
};

QImage DrawCapture(const PixelFont& font, const QString& digits, const CaptureLook& look);
