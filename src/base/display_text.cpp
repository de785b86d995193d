#include "base/display_text.h"

#include "base/format_field.h"

QString LogDateText(const QDateTime& at) { return at.toString(QStringLiteral("MM/dd hh:mm")); }

QString GroupedNumber(double value) { return FormatField(value, 1, 0, 0, false).trimmed(); }
