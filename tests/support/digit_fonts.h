#pragma once
// Pixel fonts and the captures a game would show with them: digits side by
// side at one pitch from the left, separators between digit groups, a
// delimiter after them (or none), on a plain, gradient or textured
// background with noise; digits bare, anti-aliased or each in a box. For the
// tests of teaching digits.

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
  Glyph comma;    // drawn for "," in the text, in a slot of its own width
  Glyph point;    // drawn for "."
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
  bool delimiter = true;             // false: nothing follows the number
  int delimiterGap = 0;              // blank columns added before the delimiter
  int textAfter = -1;                // without a delimiter: other text (not a digit) this many blank columns after the number
  int separatorSlot = 3;             // columns a comma or point takes
  int boxes = 0;                     // 1: each digit in a box one pitch wide; 2: one column wider, shared
  QColor boxInk{150, 150, 170};
  bool antiAlias = false;            // glyph edges half-tone, a faint fringe around them
  int texture = 0;                   // a background pattern of up to ± this
  unsigned seed = 1;
};

// `text` holds digits, and "," or "." between digit groups.
QImage DrawCapture(const PixelFont& font, const QString& text, const CaptureLook& look);
