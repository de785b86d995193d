// history_sample <save folder> [days] [seed]
// Plays `days` days (default 28) of evenings up to yesterday through the
// program's own evaluation and log writer, into <save folder>/log/, as a
// player who hunts in a few places leaves them: the first week in one file
// per month, then one TXT file per measurement, the last week as CSV. The
// last 14 days' measurements are also kept in the sessions file with the
// hunting ground as memo, as the monitoring cycle keeps them; the first of
// them brings the older logs into it.
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <cstdio>
#include <random>

#include "accounting/evaluation.h"
#include "accounting/exp_table.h"
#include "accounting/log_file.h"
#include "accounting/log_headers.h"
#include "history/history_store.h"
#include "history/log_import.h"

namespace {

struct Ground {
  const char16_t* name;
  double rate;  // k/h
};
constexpr Ground kGrounds[] = {{u"時の神殿", 9'000}, {u"ドラゴンの森", 12'500}, {u"レヘルン", 7'000}};

std::optional<double> TotalAt(std::int32_t level, double exp) { return CompiledExpTable()->Total(level, exp); }

std::pair<std::int32_t, double> LevelOf(double total) {
  std::int32_t level = 1;
  while (TotalAt(level + 1, 0) && *TotalAt(level + 1, 0) <= total) ++level;
  return {level, total - *TotalAt(level, 0)};
}

class Player {
 public:
  Player(const QString& saveFolder, unsigned seed) : random_(seed) {
    settings_.saveFolder = saveFolder;
    settings_.saveFile = QStringLiteral("給与明細");
    total_ = *TotalAt(172, 123'456'789);
  }

  // One measurement from `start`, readings every 10 minutes.
  void Measure(const QDateTime& start, int minutes, const Ground& ground, bool keep) {
    evaluator_.StartNewMeasurement();
    std::uniform_real_distribution<double> noise(0.75, 1.25);
    std::uniform_int_distribution<int> percent(0, 99);
    QDateTime at = start;
    Read(at);
    for (int elapsed = 10; elapsed <= minutes; elapsed += 10) {
      at = at.addSecs(600 + percent(random_) % 20);
      if (percent(random_) >= 8) total_ += std::floor(ground.rate * 1000 / 6 * noise(random_));  // else idle
      Read(at);
    }
    const QString path = writer_.BegunPath(settings_);
    writer_.Clear();
    if (!keep) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    LogImport logged = ImportLogText(path.section(QLatin1Char('/'), -1), file.readAll());
    if (logged.records.empty()) return;
    MeasurementRecord record = logged.records.back();
    record.start = record.start.addSecs(percent(random_) % 60);
    record.memo = QString::fromUtf16(ground.name);
    if (const auto notice = KeepMeasurement(settings_.saveFolder, record)) {
      std::fprintf(stderr, "%s\n", qPrintable(notice->text));
    }
  }

  Settings& Format() { return settings_; }
  std::mt19937& Random() { return random_; }

 private:
  void Read(const QDateTime& at) {
    const auto [level, exp] = LevelOf(total_);
    const EvaluationStep step = evaluator_.Evaluate(level, exp, at, at.toMSecsSinceEpoch(), settings_.saveCsv);
    if (step.beginLogFile) writer_.WriteLogLine(FileHeader(settings_.saveCsv), QStringLiteral("INIT"), settings_, at);
    if (step.fileLine) writer_.WriteLogLine(*step.fileLine, QString(), settings_, at);
  }

  Settings settings_;
  ReadingEvaluator evaluator_;
  LogFileWriter writer_;
  std::mt19937 random_;
  double total_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: history_sample <save folder> [days] [seed]\n");
    return 2;
  }
  const int days = args.size() > 2 ? args[2].toInt() : 28;
  Player player(args[1], args.size() > 3 ? args[3].toUInt() : 7);
  const QDate today = QDate::currentDate();
  std::uniform_int_distribution<int> pick(0, 99);
  for (int back = days - 1; back >= 0; --back) {
    const QDate day = today.addDays(-back - 1);
    player.Format().saveDistance = back >= days - 7;
    player.Format().saveCsv = back < 7;
    const bool weekend = day.dayOfWeek() >= 6;
    const int sessions = pick(player.Random()) < 20 ? 0 : (weekend || pick(player.Random()) < 35 ? 2 : 1);
    QDateTime free(day, QTime(weekend ? 11 : 19, 0));
    for (int s = 0; s < sessions; ++s) {
      const QDateTime start = free.addSecs(60 * (pick(player.Random()) % 90));
      const int minutes = 40 + 10 * (pick(player.Random()) % 12);
      free = start.addSecs(60 * (minutes + 30 + pick(player.Random()) % 60));
      const Ground& ground = kGrounds[pick(player.Random()) % 3];
      player.Measure(start, minutes, ground, back < 14);
    }
  }
  return 0;
}
