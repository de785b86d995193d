#pragma once
// The recognition scan written the plain way: every candidate scored in full,
// one pattern pixel and one channel at a time, and the report built on every
// call. It is the yardstick the fast scan is held to (same digit strings,
// values, captions, hook calls and report), in the tests and the benchmark.

#include "recognition/recognition.h"

enum class ReferenceReport {
  EveryCall,      // built on every call, as the recognition is defined
  DebugModeOnly,  // only in debug mode, as RecognizeDigits does
};

// Same arguments and results as RecognizeDigits, except that the report is
// built on every call unless told otherwise. (Building it costs more than
// the scoring itself; the benchmark measures both ways.)
RecognitionResult RecognizeDigitsReference(const std::array<PixelGrid, 2>& captures,
                                           const std::array<int, 2>& regionWidths, const PatternSet& patterns,
                                           int lag, bool debugMode, const RecognitionHooks& hooks = {},
                                           ReferenceReport report = ReferenceReport::EveryCall);
