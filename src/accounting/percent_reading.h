#pragma once
// Some versions of the game show only how far the level is done ("45.678%")
// instead of the experience counter. Such a reading becomes experience
// within the level through the table's size of that level, so everything
// after it (the guard, evaluation, the log files) works on experience as
// ever.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

#include "accounting/evaluation.h"
#include "accounting/exp_table.h"

// The decimals a percentage may be shown with; a setting outside 0 … this
// (the classic -1 among them) means the area shows the experience itself.
inline constexpr std::int32_t kMaxPercentDecimals = 6;

constexpr bool ShowsPercent(std::int32_t percentDecimals) {
  return percentDecimals >= 0 && percentDecimals <= kMaxPercentDecimals;
}

struct ExpFromArea {
  double exp = 0;             // experience within the level; 0: not read
  bool sizeUnknown = false;   // a percentage at a level the table has no size for
  bool decimalsDisagree = false;  // the capture shows other decimals than the setting: not read
};

// Whether `shown`, what the experience area read (its digits, and the point
// where the reading reports it), is a percentage with `percentDecimals`
// decimals: the point stands before that many digits, with one or two
// before it; without a point in it, the digits are as many as such a
// percentage has. A mismatch would scale every reading by a power of ten.
bool DecimalsAgree(const QString& shown, std::int32_t percentDecimals);

// `digits` is the value of the digits read off the experience area (the
// point is not a digit: 45.678% reads 45678). With a percentage shown with
// `percentDecimals` decimals the experience is percentage × size ÷ 100,
// rounded down, computed exactly; a percentage of 100 or more cannot be
// shown and counts as not read. Otherwise the digits are the experience.
ExpFromArea ExperienceFromArea(double digits, std::int32_t percentDecimals, std::optional<std::int64_t> levelSize);

// The same for a reading at `level`, the size taken from `table`. A level
// beyond the game's cap is a misread: its digits are left as they are, for
// evaluation to report.
// With `shown` (what the area read) a percentage whose decimals disagree
// with the setting is not read.
ExpFromArea ExperienceOfReading(std::int32_t level, double digits, std::int32_t percentDecimals, const ExpTable& table,
                                const QString& shown = QString());

// What the screen shows and the trace says instead of an evaluation when a
// percentage cannot be converted.
EvaluationStep PercentWithoutSizeStep(std::int32_t level, const QDateTime& now);
// … and when the capture shows other decimals than the setting: a failed
// reading, retried soon.
EvaluationStep PercentDecimalsStep(const QString& shown, std::int32_t percentDecimals, const QDateTime& now);
