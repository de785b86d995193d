#include "recognition/unread_ink.h"

#include <QCoreApplication>

namespace {

// The trace keeps the Japanese in every language; the screen shows the
// language of the windows.
QString Reason(const UnreadInk& ink, bool shown) {
  const auto text = [shown](const char* japanese) {
    return shown ? QCoreApplication::translate("UnreadInk", japanese) : QString::fromUtf8(japanese);
  };
  const char* where = "";
  switch (ink.place) {
    case UnreadPlace::BeforeFirstDigit:
      where = QT_TRANSLATE_NOOP("UnreadInk", "最初の数字の前");
      break;
    case UnreadPlace::BetweenDigits:
      where = QT_TRANSLATE_NOOP("UnreadInk", "数字の間");
      break;
    case UnreadPlace::AfterLastDigit:
      where = QT_TRANSLATE_NOOP("UnreadInk", "最後の数字の後");
      break;
    case UnreadPlace::NoDelimiter:
      //: The number's end mark was not found: the number may be cut by the area's edge
      return text(QT_TRANSLATE_NOOP("UnreadInk", "数字の後のデリミタが見えません（X:%1まで）。数字がキャプチャ領域の端で切れているかもしれません"))
          .arg(ink.from);
  }
  //: Where the unread marks are, and their columns in the capture
  return text(QT_TRANSLATE_NOOP("UnreadInk", "%1に読めない文字（X:%2～%3）。未登録の数字かもしれません"))
      .arg(text(where))
      .arg(ink.from)
      .arg(ink.to - 1);
}

}  // namespace

QString UnreadInkReason(const UnreadInk& ink) { return Reason(ink, false); }

QString ShownUnreadInkReason(const UnreadInk& ink) { return Reason(ink, true); }
