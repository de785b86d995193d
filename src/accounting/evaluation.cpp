#include "accounting/evaluation.h"

#include <QCoreApplication>
#include <QStringList>
#include <cmath>

#include "accounting/level_rise.h"
#include "base/counter_reading.h"
#include "base/display_text.h"
#include "base/format_field.h"

namespace {

// Column widths of the log lines: width, margin, decimals.
struct Column {
  int width;
  int margin;
  int decimals;
};
constexpr Column kLevelColumn{6, 1, 0};
constexpr Column kExpColumn{16, 1, 0};
constexpr Column kGainedColumn{13, 1, 0};
constexpr Column kMinutesColumn{10, 2, 1};
constexpr Column kRateColumn{12, 1, 0};

QString Cell(const FieldValue& value, const Column& column, bool plain) {
  return FormatField(value, column.width, column.margin, column.decimals, plain);
}

std::int64_t WholeSeconds(std::int64_t ms) {
  // Floor division: the clock starts at 0, but a negative count must not
  // round toward zero and make two readings a second apart look equal.
  return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

// Lines shown on screen only, never written to a file: in the language of
// the windows.
QString OnScreen(const char* text) { return QCoreApplication::translate("ScreenLog", text); }

QString FailureLabel(std::int32_t level, double exp) {
  if (!LevelRead(level) && !ExpRead(exp)) return OnScreen(QT_TRANSLATE_NOOP("ScreenLog", "両方NG"));
  return !LevelRead(level) ? QStringLiteral("LvNG") : QStringLiteral("ExpNG");
}

// Thousands of experience per hour, rounded down. Without any elapsed
// second there is no rate to speak of: the column then shows "-".
FieldValue Rate(double gained, std::int64_t elapsed) {
  if (elapsed <= 0) return QStringLiteral("-");
  return std::floor(gained / static_cast<double>(elapsed) * 3600 / 1000);
}

}  // namespace

EvaluationStep ReadingEvaluator::Evaluate(std::int32_t level, double exp, const QDateTime& now,
                                          std::int64_t monotonicMs, bool saveCsv, DeathPenalty death) {
  const QString date = LogDateText(now);
  EvaluationStep step;

  if (!IsReading(level, exp)) {
    //: A line of the on-screen log: the digits could not be read
    step.screenLine = date + OnScreen(QT_TRANSLATE_NOOP("ScreenLog", "  認識失敗  ")) + FailureLabel(level, exp);
    step.scrollToEnd = true;
    step.retrySoon = true;
    step.traceMessage = QStringLiteral(" ImageRecognition misstep");
    return step;
  }

  if (level < 1 || level > kTopLevel) {
    // Beyond the game's cap: a misread level. The measurement is left as it
    // was, so one misread level does not end it.
    step.screenLine = date + OnScreen(QT_TRANSLATE_NOOP("ScreenLog", "  測定不可  Lv範囲外"));
    step.scrollToEnd = true;
    step.traceMessage = QStringLiteral(" ImageRecognition out of range");
    return step;
  }

  // A level may rise a little between readings; anything else is another
  // character or a misreading, and starts over.
  if (previous_ && !LevelCanFollow(previous_->level, level)) previous_.reset();

  const Previous current{level, exp, monotonicMs};
  const QString readingColumns = Cell(std::int64_t{level}, kLevelColumn, false) + Cell(exp, kExpColumn, false);
  if (!previous_) {
    previous_ = current;
    step.screenLine = date + readingColumns;
    step.beginLogFile = true;
    step.traceMessage = QStringLiteral(" Fast ImageRecognition");
    return step;
  }

  const std::optional<double> gain = table_->Gain(previous_->level, previous_->exp, level, exp);
  if (!gain) {
    // Levels were finished whose size the table does not know: no number
    // can be given for the gain, and none is made up. Measuring goes on from
    // here, in the same log file.
    std::int32_t unknown = previous_->level;
    while (unknown < level && table_->Size(unknown)) ++unknown;
    previous_ = current;
    step.screenLine = date + readingColumns +
                      QStringLiteral(" 獲得Exp不明(経験値表にLv%1の経験値がありません)").arg(unknown);
    step.scrollToEnd = true;
    step.traceMessage = QStringLiteral(" Level-up beyond the table, gain unknown");
    return step;
  }

  if (*gain == 0) {
    // Nothing gained: time spent idle is left out of the next rate.
    previous_->ms = monotonicMs;
    return step;
  }

  if (*gain < 0 && death == DeathPenalty::None) return ImplausibleReadingStep(level, exp, now);

  const double gained = *gain;
  const std::int64_t elapsed = std::max<std::int64_t>(0, WholeSeconds(monotonicMs) - WholeSeconds(previous_->ms));
  previous_ = current;
  // Tenths of a minute, cut rather than rounded.
  const double minutes = std::floor(static_cast<double>(elapsed) / 6) / 10;
  const FieldValue rate = Rate(gained, elapsed);

  const auto columns = [&](bool plain) {
    return QStringList{Cell(std::int64_t{level}, kLevelColumn, plain), Cell(exp, kExpColumn, plain),
                       Cell(gained, kGainedColumn, plain), Cell(minutes, kMinutesColumn, plain),
                       Cell(rate, kRateColumn, plain)};
  };
  step.screenLine = date + columns(false).join(QString());
  step.scrollToEnd = true;
  if (const double* value = std::get_if<double>(&rate)) step.rate = *value;
  step.fileLine = saveCsv ? date + QStringLiteral(" ,") + columns(true).join(u',')
                          : date + QStringLiteral(" ") + columns(false).join(QString());
  return step;
}

EvaluationStep ReadingEvaluator::Rebase(std::int32_t level, double exp, const QDateTime& now,
                                        std::int64_t monotonicMs, bool saveCsv, DeathPenalty death) {
  if (!previous_ || level < 1 || level > kTopLevel) return Evaluate(level, exp, now, monotonicMs, saveCsv, death);
  previous_ = Previous{level, exp, monotonicMs};
  EvaluationStep step;
  // Said in the file too: the next gain line is measured from a reading the
  // file has not shown, and no gain was counted for the jump to it.
  // A CSV file's numbers have no grouping commas.
  const auto line = [&](const QString& expText) {
    return LogDateText(now) + QStringLiteral("  基準再設定  Lv%1 Exp%2  ").arg(level).arg(expText) +
           QStringLiteral("基準と合わない読取が一致して続いたため、ここから測り直します（差は獲得に数えません）");
  };
  step.screenLine = line(GroupedNumber(exp));
  step.fileLine = line(saveCsv ? QString::number(exp, 'f', 0) : GroupedNumber(exp));
  step.rebase = true;
  step.scrollToEnd = true;
  step.traceMessage = QStringLiteral(" ImageRecognition rebased");
  return step;
}

void ReadingEvaluator::StartNewMeasurement() { previous_.reset(); }

bool ReadingEvaluator::HasPreviousReading() const { return previous_.has_value(); }

EvaluationStep ImplausibleReadingStep(std::int32_t level, double exp, const QDateTime& now) {
  EvaluationStep step;
  // On screen only: in the language of the windows.
  step.screenLine = LogDateText(now) + QCoreApplication::translate("ScreenLog", "  認識疑義  ") +
                    QStringLiteral("Lv") + QString::number(level) + QStringLiteral(" Exp") + GroupedNumber(exp);
  step.scrollToEnd = true;
  step.retrySoon = true;
  step.traceMessage = QStringLiteral(" ImageRecognition implausible");
  return step;
}
