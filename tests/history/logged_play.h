#pragma once
// Log files written by the program's own evaluation and log writer, for the
// history to read back: four measurements of December 2026, and the records
// they are.

#include <QDateTime>

#include "accounting/evaluation.h"
#include "accounting/log_file.h"
#include "accounting/log_headers.h"
#include "history/measurement_record.h"

inline QDateTime At(int month, int day, int hour, int minute, int year = 2026) {
  return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

// The program's own evaluation and log writer, so the files are exactly
// what it writes.
class Program {
 public:
  Program(const QString& folder, bool csv, bool perMonth) {
    settings.saveFolder = folder;
    settings.saveFile = QStringLiteral("給与明細");
    settings.saveCsv = csv;
    settings.saveDistance = perMonth;
  }
  void Run() { evaluator.StartNewMeasurement(); }
  void Stop() { writer.Clear(); }
  void Read(const QDateTime& at, int level, double exp) {
    const EvaluationStep step = evaluator.Evaluate(level, exp, at, at.toMSecsSinceEpoch(), settings.saveCsv);
    if (step.beginLogFile) writer.WriteLogLine(FileHeader(settings.saveCsv), "INIT", settings, at);
    if (step.fileLine) writer.WriteLogLine(*step.fileLine, "", settings, at);
  }
  Settings settings;
  ReadingEvaluator evaluator;
  LogFileWriter writer;
};

// Level 120 holds 29,715,818: the second gain crosses into level 121.
inline void PlayFourMeasurements(Program& p) {
  p.Run();
  p.Read(At(12, 5, 14, 30), 120, 29'000'000);
  p.Read(At(12, 5, 14, 50), 120, 29'400'000);
  p.Read(At(12, 5, 15, 10), 121, 284'182);  // +600,000 across the level-up
  p.Read(At(12, 5, 15, 30), 121, 284'182);  // idle: left out of the time
  p.Read(At(12, 5, 15, 50), 121, 584'182);
  p.Stop();
  p.Run();  // after playing without the meter
  p.Read(At(12, 6, 20, 0), 121, 5'000'000);
  p.Read(At(12, 6, 20, 10), 121, 6'000'000);
  p.Read(At(12, 6, 20, 20), 121, 7'000'000);
  p.Stop();
  p.Run();  // later the same evening, without having played in between
  p.Read(At(12, 6, 23, 30), 121, 7'000'000);
  p.Read(At(12, 6, 23, 40), 121, 7'200'000);
  p.Stop();
  p.Run();  // into the new year
  p.Read(At(12, 31, 23, 40), 121, 10'000'000);
  p.Read(At(12, 31, 23, 55), 121, 10'500'000);
  p.Read(At(1, 1, 0, 10, 2027), 121, 11'000'000);
  p.Stop();
}

inline std::vector<MeasurementRecord> Expected(bool csv, bool perMonth) {
  const QString extension = csv ? ".csv" : ".txt";
  const auto file = [&](const QString& stamp) {
    return "給与明細" + (perMonth ? QStringLiteral("202612月") : stamp) + extension;
  };
  constexpr std::int64_t kMinute = 60'000;
  return {
      {At(12, 5, 14, 30), At(12, 5, 15, 50), 60 * kMinute, 120, 121, 1'300'000, 1300, 1800, file("202612051430"), ""},
      {At(12, 6, 20, 0), At(12, 6, 20, 20), 20 * kMinute, 121, 121, 2'000'000, 6000, 6000, file("202612062000"), ""},
      {At(12, 6, 23, 30), At(12, 6, 23, 40), 10 * kMinute, 121, 121, 200'000, 1200, 1200, file("202612062330"), ""},
      {At(12, 31, 23, 40), At(1, 1, 0, 10, 2027), 30 * kMinute, 121, 121, 1'000'000, 2000, 2000,
       file("202612312340"), ""},
  };
}

