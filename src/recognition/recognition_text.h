#pragma once
// The texts recognition produces: the report lines of the debug trace, the
// captions of the capture labels, and the numbers read from digit strings.

#include <QString>
#include <array>

#include "recognition/recognition.h"

// The capture labels' captions: while reading, and for a number not read.
QString RecognizingCaption();
QString FailedCaption();

// "X:" and the column as "0#" (05, 12, 123), then " Y:" and the row offset 0
// in the "#" form, which prints nothing.
QString ColumnHeading(long long x);

// " d:" and the score right-aligned in four characters, then one space
// (10000 takes five).
QString DigitEntry(int digit, int score);

// " D<area>:" and the score in the same form.
QString DelimiterEntry(int area, int score);

// After a digit's entry whose score passes but whose glyph the second look
// finds otherwise (recognition/picture_match.h): the line goes on.
QString OtherGlyph();

// The endings of a report line, CR LF included.
QString DigitResult(int digit);
QString DelimiterResult();
QString NoResult();

// The report line of an area that passed over ink no pattern reads.
QString UnreadInkResult(const QString& reason);

// Values, final captions and failures from the digit strings and the
// unread ink the scans left in `result` (digits, failures): a string that
// reads as 0 (empty, or zeros only) fails and shows "認識NG"; a level of ten
// or more digits does not fit 32 bits and fails too, and so does an area
// whose failure already names unread ink.
void SetReadings(RecognitionResult& result);
