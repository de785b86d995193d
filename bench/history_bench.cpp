// The history window with years of play: 10 000 measurements in the
// sessions file (about seven years of evenings, eight hunting grounds,
// levels rising from 140 to 199), opened and filtered as the window does it.
// Then a history of 100 MB, as a player's sessions file and log files grew:
// the start's and the end's reading of it, the window's opening and the
// import of the logs.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <random>

#include "accounting/evaluation.h"
#include "accounting/exp_table.h"
#include "accounting/log_file.h"
#include "accounting/log_headers.h"
#include "accounting/session_model.h"
#include "base/cp932.h"
#include "dialogs/history_models.h"
#include "dialogs/history_window.h"
#include "monitoring/message_boxes.h"
#include "history/goal.h"
#include "history/history_chart.h"
#include "history/history_store.h"
#include "history/log_import.h"
#include "history/sessions_file.h"
#include "persistence/settings.h"

namespace {

constexpr int kRecords = 10'000;

class NoBoxes : public MessageBoxes {
 public:
  void Inform(const QString&, const QString&) override {}
  bool AskYesNo(const QString&, const QString&) override { return false; }
};

// Measurements one after another, as the player plays them.
class Evenings {
 public:
  explicit Evenings(int count) : count_(count) {}
  MeasurementRecord Next() {
    const int i = done_++;
    MeasurementRecord r;
    r.start = at_.addSecs(random_() % 60);
    const std::int64_t active = minutes_(random_) * 60'000LL;
    r.end = r.start.addMSecs(active + 5 * 60'000);
    r.activeMs = active;
    r.levelFrom = 140 + static_cast<int>(59LL * i / count_);
    r.levelTo = 140 + static_cast<int>(59LL * (i + 1) / count_);
    const int place = ground_(random_);
    r.gained = std::floor((4'000 + 1'500 * place) * 1000.0 * std::max(0.2, noise_(random_)) * active / 3'600'000);
    r.averageRate = RatePerHourK(r.gained, active);
    r.bestRate = *r.averageRate * 1.2;
    r.logFile = "給与明細" + r.start.toString("yyyyMMddhhmm") + ".txt";
    r.memo = grounds_[place];
    at_ = r.end.addSecs(pause_(random_) * 60);
    return r;
  }

 private:
  const QStringList grounds_{"時の神殿", "ドラゴンの森", "レヘルン", "アルカナ", "モラス", "エスペラ", "", "セラス"};
  const int count_;
  int done_ = 0;
  std::mt19937 random_{2026};
  std::uniform_int_distribution<int> minutes_{20, 240}, pause_{60, 60 * 20}, ground_{0, 7};
  std::normal_distribution<double> noise_{1.0, 0.15};
  QDateTime at_{QDate(2020, 1, 1), QTime(19, 0)};
};

std::vector<MeasurementRecord> PlayedYears() {
  Evenings evenings(kRecords);
  std::vector<MeasurementRecord> records;
  for (int i = 0; i < kRecords; ++i) records.push_back(evenings.Next());
  return records;
}

class History {
 public:
  History() {
    settings.saveFolder = folder.path();
    if (AppendRecords(settings.saveFolder, PlayedYears())) std::abort();
  }
  QTemporaryDir folder;
  Settings settings;
};

History& Shared() {
  static History history;
  return history;
}

void OpenHistory(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(OpenHistory(Shared().settings.saveFolder));
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(OpenHistory)->Unit(benchmark::kMillisecond);

// What one change of the filter computes: the rows, their order, the day
// and week totals and the chart.
void FilterSortTotalsChart(benchmark::State& state) {
  const std::vector<MeasurementRecord> records = ::OpenHistory(Shared().settings.saveFolder).records;
  const HistoryFilter filters[] = {{}, {QDate(2023, 1, 1), QDate(2024, 12, 31), ""}, {{}, {}, "ドラゴン"}};
  for (auto _ : state) {
    for (const HistoryFilter& filter : filters) {
      std::vector<std::size_t> shown = FilterRecords(records, filter);
      SortRecordIndices(records, shown, RecordColumn::Start, false);
      benchmark::DoNotOptimize(DayTotals(records, shown));
      benchmark::DoNotOptimize(WeekTotals(records, shown));
      benchmark::DoNotOptimize(MakeHistoryChart(records, shown));
    }
  }
}
BENCHMARK(FilterSortTotalsChart)->Unit(benchmark::kMillisecond);

// The window reads off its thread: until it shows what it read.
void Load(HistoryWindow& window) {
  QEventLoop shown;
  QObject::connect(&window, &HistoryWindow::Loaded, &shown, &QEventLoop::quit);
  window.Reload();
  shown.exec();
}

// The window itself: reading the file into it, and one change of the memo
// filter as typing makes it (the table formats only the rows in view).
void WindowReload(benchmark::State& state) {
  NoBoxes boxes;
  HistoryWindow window(Shared().settings, boxes);
  for (auto _ : state) Load(window);
}
BENCHMARK(WindowReload)->Unit(benchmark::kMillisecond);

void WindowFilter(benchmark::State& state) {
  NoBoxes boxes;
  HistoryWindow window(Shared().settings, boxes);
  Load(window);
  int i = 0;
  for (auto _ : state) window.SetFilter({{}, {}, ++i % 2 ? "モラス" : ""});
}
BENCHMARK(WindowFilter)->Unit(benchmark::kMillisecond);

void WindowSortByRate(benchmark::State& state) {
  NoBoxes boxes;
  HistoryWindow window(Shared().settings, boxes);
  Load(window);
  auto& model = const_cast<RecordTableModel&>(window.Table());
  int i = 0;
  for (auto _ : state) {
    model.sort(static_cast<int>(RecordColumn::AverageRate), ++i % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
  }
}
BENCHMARK(WindowSortByRate)->Unit(benchmark::kMillisecond);


// A history of 100 MB: the sessions file of about 900 000 measurements, and
// apart from it the month log files (CSV) of about 2 million gain lines,
// each written a piece at a time so that the writing holds little memory.
constexpr qint64 kBigFileBytes = 100LL << 20;

void WriteOut(QFile& file, QByteArray& pending, bool last) {
  if (pending.isEmpty() || (pending.size() < (1 << 20) && !last)) return;
  if (file.write(pending) != pending.size()) std::abort();
  pending.clear();
}

class BigHistory {
 public:
  BigHistory() {
    sessionsFolder = sessions.path();
    logsFolder = logs.path();
    WriteSessions();
    WriteLogs();
  }
  QTemporaryDir sessions, logs;
  QString sessionsFolder, logsFolder;
  QDateTime now;  // an hour after the last measurement kept
  int records = 0;

 private:
  void WriteSessions() {
    if (!QDir().mkpath(LogFolder(sessionsFolder))) std::abort();
    QFile file(SessionsFilePath(sessionsFolder));
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    QByteArray pending = EncodeCp932(RecordHeader() + "\r\n");
    Evenings evenings(1'000'000);
    while (file.size() + pending.size() < kBigFileBytes) {
      const MeasurementRecord r = evenings.Next();
      pending += EncodeCp932(RecordLine(r)) + "\r\n";
      now = r.end.addSecs(3600);
      ++records;
      WriteOut(file, pending, false);
    }
    WriteOut(file, pending, true);
  }

  // Evenings of two hours or so, a reading every 10 seconds, written by the
  // program's own evaluation into one file per month as it writes them.
  void WriteLogs() {
    const QString folder = LogFolder(logsFolder);
    if (!QDir().mkpath(folder)) std::abort();
    std::mt19937 random(34);
    std::uniform_int_distribution<int> readings(300, 1000), gain(2'000'000, 6'000'000);
    const ExpTable& table = *CompiledExpTable();
    ReadingEvaluator evaluator;
    QDateTime day(QDate(2015, 1, 1), QTime(19, 0));
    int level = 100;
    double exp = 0;
    qint64 written = 0;
    QFile file;
    QByteArray pending;
    while (written < kBigFileBytes) {
      const QString name = folder + "給与明細" + day.toString("yyyyMM") + "月.csv";
      if (file.fileName() != name) {
        WriteOut(file, pending, true);
        file.close();
        file.setFileName(name);
        if (!file.open(QIODevice::WriteOnly)) std::abort();
      }
      evaluator.StartNewMeasurement();
      const qsizetype before = pending.size();
      const int count = readings(random);
      for (int i = 0; i < count; ++i) {
        const QDateTime at = day.addSecs(10LL * i);
        exp += gain(random);
        while (exp >= static_cast<double>(table.Size(level).value_or(1LL << 50)) && level < 290) {
          exp -= static_cast<double>(*table.Size(level));
          ++level;
        }
        const EvaluationStep step = evaluator.Evaluate(level, exp, at, 10'000LL * i, true);
        if (step.beginLogFile) pending += EncodeCp932(FileHeader(true)) + "\r\n";
        if (step.fileLine) pending += EncodeCp932(*step.fileLine) + "\r\n";
      }
      written += pending.size() - before;
      WriteOut(file, pending, false);
      day = day.addDays(1);
    }
    WriteOut(file, pending, true);
  }
};

BigHistory& Big() {
  static BigHistory history;
  return history;
}

// The start: the 7 days' pace of the goal, from the records of the last 7
// days in the sessions file (read off the window's thread).
void BigStartPace(benchmark::State& state) {
  BigHistory& big = Big();
  for (auto _ : state) {
    const QDateTime since = big.now.addDays(-kPaceDays);
    benchmark::DoNotOptimize(PaceOfRecords(ReadSessionsFile(big.sessionsFolder, {}, since).records, big.now));
  }
  state.counters["records"] = big.records;
}
BENCHMARK(BigStartPace)->Unit(benchmark::kMillisecond)->Iterations(2);

// The end of a measurement: its record kept, and the pace shown again from
// the recent records read at the start.
void BigEndOfMeasurement(benchmark::State& state) {
  BigHistory& big = Big();
  Evenings evenings(1);
  const MeasurementRecord record = evenings.Next();
  std::vector<MeasurementRecord> recent =
      ReadSessionsFile(big.sessionsFolder, {}, big.now.addDays(-kPaceDays)).records;
  for (auto _ : state) {
    if (KeepMeasurement(big.sessionsFolder, record)) std::abort();
    recent.push_back(record);
    benchmark::DoNotOptimize(PaceOfRecords(recent, big.now));
  }
}
BENCHMARK(BigEndOfMeasurement)->Unit(benchmark::kMillisecond)->Iterations(2);

// The history window's opening: the whole sessions file read.
void BigOpenHistory(benchmark::State& state) {
  BigHistory& big = Big();
  for (auto _ : state) benchmark::DoNotOptimize(OpenHistory(big.sessionsFolder));
  state.counters["records"] = big.records;
}
BENCHMARK(BigOpenHistory)->Unit(benchmark::kMillisecond)->Iterations(2);

// The window's opening: until it shows the history, and the longest its
// thread could not answer meanwhile (longestStallMs: the gap between ticks
// of a timer of 1 ms).
void BigWindowOpen(benchmark::State& state) {
  BigHistory& big = Big();
  Settings settings;
  settings.saveFolder = big.sessionsFolder;
  NoBoxes boxes;
  HistoryWindow window(settings, boxes);
  double stallMs = 0;
  for (auto _ : state) {
    QEventLoop shown;
    QObject::connect(&window, &HistoryWindow::Loaded, &shown, &QEventLoop::quit);
    QElapsedTimer sinceTick;
    const auto tick = [&] {
      if (sinceTick.isValid()) stallMs = std::max(stallMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
      sinceTick.start();
    };
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, tick);
    ticks.start(1);
    tick();
    window.Reload();
    shown.exec();
    tick();
  }
  state.counters["longestStallMs"] = stallMs;
}
BENCHMARK(BigWindowOpen)->Unit(benchmark::kMillisecond)->Iterations(2);

// ログから取込み: 100 MB of log files read into records, none kept yet.
void BigImportLogs(benchmark::State& state) {
  BigHistory& big = Big();
  int imported = 0;
  for (auto _ : state) {
    const LogImport import = ImportLogFolder(LogFolder(big.logsFolder));
    imported = static_cast<int>(import.records.size());
    if (import.skippedLines > 0 || import.records.empty()) std::abort();
  }
  state.counters["records"] = imported;
}
BENCHMARK(BigImportLogs)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
