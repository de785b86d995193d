#pragma once
// Whether a picture (a digit's look, the marks taught before the number)
// lies in a capture at a column.
//
// The match rule counts agreeing channel bytes over the whole picture, so
// in a large cell (a digit in a box, a font drawn at twice its size) a
// stroke one glyph has and another lacks is a small share of the count:
// a boxed 8 passes as a 3. What a capture may differ by in a picture that
// shows the same glyph is noise, and edges that an anti-aliased or scaled
// drawing puts a pixel either way; neither puts a colour where no pixel
// around it, in the other picture, comes near it. A glyph that is another
// one does, along the stroke it has and the other lacks.

#include <algorithm>

#include "base/pixel_grid.h"
#include "persistence/pattern_set.h"

// How far beyond the colours of the other picture's neighbourhood (the
// pixel and the eight around it, each channel's range) a pixel's
// channels must lie in sum, in either picture, to be a difference no shift
// of an edge explains: well above a screen grab's noise, well below the
// contrast of a digit's strokes.
inline constexpr int kUnexplainedExcess = 90;

// `picture` at column x0 of `capture` (capture columns outside the
// picture read black, as for a pattern): more than 97.5 % of the channel
// bytes within 20, and FewUnexplained.
bool PictureAt(const PixelGrid& capture, const PixelGrid& picture, int x0);

// The second look alone, for a picture the match rule's count has passed
// already: at most `allowed` pixels (one, as reading takes it) inside its
// outermost columns that differ beyond what a shift of an edge explains.
bool FewUnexplained(const PixelGrid& capture, const PixelGrid& picture, int x0, int allowed = 1);

// How many such pixels there are, counted up to `limit` + 1 (`limit` at
// least 0): a glyph that differs beyond the limit is not told how far.
int UnexplainedPixels(const PixelGrid& capture, const PixelGrid& picture, int x0, int limit);

// Beyond that allowance, a glyph is its digit's when the digit's nearest
// picture leaves it at most a pixel a row (`glyphRows`) unexplained and
// every other digit's leaves more than three times as many: a glyph at
// another fraction of a pixel, a large size or a smooth scale differs from
// itself along its edges, another digit by whole strokes.
inline int FarNearerAllowed(int glyphRows) { return glyphRows; }
inline int OtherDigitsBeyond(int own) { return 3 * std::max(own, 1); }

// How many such pixels a digit `glyphRows` tall may hold where which digit
// stands is known and only its look is in question: one pixel of a glyph
// drawn at twice the size is four, and its anti-aliased edges at another
// fraction of a pixel differ by such blocks. A different digit differs by
// whole strokes, far more.
inline int UnexplainedAllowed(int glyphRows) { return std::max(1, glyphRows / 6); }

// A pattern as a picture.
PixelGrid PictureOf(const Pattern& pattern);

// PictureAt for a pattern, as reading takes a digit: what teaching asks of
// a digit taught before that it must not read where another was typed.
bool PatternShown(const Pattern& pattern, const PixelGrid& capture, int x0);
