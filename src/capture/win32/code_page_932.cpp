// Shift_JIS as Windows spells it: code page 932 of the system, the very
// encoding the files of this program are defined in.
#include "base/cp932.h"
#include "capture/win32/gdi_handles.h"

namespace {

constexpr UINT kCodePage = 932;

// Never a best fit ("é" written as "e"): a character the code page lacks
// becomes "?", as the other platforms' encoder writes it.
QByteArray Encode(const QString& text, bool* lossy) {
  if (text.isEmpty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
  const int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    if (lossy != nullptr) *lossy = true;
    return {};
  }
  QByteArray bytes(size, '\0');
  WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr, &usedDefault);
  if (lossy != nullptr) *lossy = usedDefault != FALSE;
  return bytes;
}

}  // namespace

QByteArray EncodeCp932(const QString& text) { return Encode(text, nullptr); }

QString DecodeCp932(const QByteArray& bytes) {
  if (bytes.isEmpty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(kCodePage, 0, bytes.constData(), length, nullptr, 0);
  if (size <= 0) return {};
  QString text(size, QChar(u'\0'));
  MultiByteToWideChar(kCodePage, 0, bytes.constData(), length, reinterpret_cast<wchar_t*>(text.data()), size);
  return text;
}

bool FitsCp932(const QString& text) {
  bool lossy = false;
  const QByteArray bytes = Encode(text, &lossy);
  return !lossy && DecodeCp932(bytes) == text;
}
