#include "accounting/log_headers.h"

// Fixed texts: users read their logs by these captions, and tools that load
// the CSV files may match the header line as it has always been written.

QString ScreenHeader() { return QStringLiteral(" 月日 時刻    Lv          Exp         獲得Exp  経過(分)   時給(k/h) "); }

QString TxtFileHeader() {
  return QStringLiteral("     月日 時刻     Lv          Exp         獲得Exp  経過(分)   時給(k/h) ");
}

QString CsvFileHeader() {
  return QStringLiteral("     月日 時刻  ,   Lv ,         Exp    ,     獲得Exp , 経過(分) ,  時給(k/h) ");
}
