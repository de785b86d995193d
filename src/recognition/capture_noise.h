#pragma once
// Noise of a capture's own, and a picture without it for teaching.
//
// A screen grab of the game is exact, but a capture that went through a
// scaler, a stream or a recorder is not: every pixel carries a little noise
// drawn afresh for each capture. A pattern cut from such a capture keeps its
// noise, a later capture adds its own, and two captures of one glyph then
// differ by up to twice the noise: past the match's tolerance for the
// commonest noise of a recorder. Taught pictures are therefore cut from the
// capture with its noise smoothed away, and a reading meets the noise of one
// capture only. An exact capture is left as it is.

#include <QImage>

// The noise's estimated amplitude (± per channel), 0 for an exact capture or
// one whose noise is too faint to matter.
int NoiseAmplitude(const QImage& capture);

// `capture` (any format) as RGB32: unchanged when it is exact, else each
// pixel the mean of itself and those of its eight neighbours that differ
// from it by no more than noise can (twice its amplitude), so a glyph's
// edges stay where they are.
QImage WithoutNoise(const QImage& capture);
