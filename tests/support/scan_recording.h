#pragma once
// What the recognition tests and the fuzzer share: colours between a
// pattern's pixels and a capture's, and hooks that record what a scan tells.

#include <QStringList>
#include <cstdint>

#include "recognition/recognition.h"

inline PixelColor ColorOf(std::uint32_t c) { return {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)}; }
inline std::uint32_t RgbOf(const PixelColor& c) { return c.blue | (c.green << 8) | (c.red << 16); }

// Hooks that write everything the scan tells them into `events`, in order, as short texts.
inline RecognitionHooks Recording(QStringList& events) {
  RecognitionHooks h;
  h.lagWait = [&events] { events << QStringLiteral("wait"); };
  h.caption = [&events](int a, const QString& text) { events << QStringLiteral("caption %1 %2").arg(a).arg(text); };
  h.preview = [&events](int a, int d, int x) { events << QStringLiteral("preview %1 %2 %3").arg(a).arg(d).arg(x); };
  return h;
}
