#pragma once
// The recognition scan written the plain way: every candidate scored in full,
// one pattern pixel and one channel at a time, and the report built on every
// call. It is the yardstick the fast scan is held to (same digit strings,
// values, captions, hook calls and report), in the tests and the benchmark.

#include "capture/recognition.h"

// Same arguments and results as RecognizeDigits, except that the report is
// built whatever `debugMode` says.
RecognitionResult RecognizeDigitsReference(const std::array<PixelGrid, 2>& captures,
                                           const std::array<int, 2>& regionWidths, const PatternSet& patterns,
                                           int lag, bool debugMode, const RecognitionHooks& hooks = {});
