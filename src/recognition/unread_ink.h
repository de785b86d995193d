#pragma once
// A mark that reading could not account for, and the reason an area with
// one reads "認識NG": where it stood and its columns.

#include <QString>

enum class UnreadPlace { BeforeFirstDigit, BetweenDigits, AfterLastDigit, NoDelimiter };

struct UnreadInk {
  UnreadPlace place;
  int from;  // columns [from, to) of the glyph found there
  int to;
};

// The reason an area with unread ink reads "認識NG", as the trace gives it,
// and as the result gives it to be shown.
QString UnreadInkReason(const UnreadInk& ink);
QString ShownUnreadInkReason(const UnreadInk& ink);
