// The history window with years of play: 10 000 measurements in the
// sessions file (about seven years of evenings, eight hunting grounds,
// levels rising from 140 to 199), opened and filtered as the window does it.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

#include "accounting/session_model.h"
#include "dialogs/history_models.h"
#include "dialogs/history_window.h"
#include "dialogs/message_boxes.h"
#include "history/history_chart.h"
#include "history/history_store.h"
#include "history/sessions_file.h"
#include "persistence/settings.h"

namespace {

constexpr int kRecords = 10'000;

class NoBoxes : public MessageBoxes {
 public:
  void Inform(const QString&, const QString&) override {}
  bool AskYesNo(const QString&, const QString&) override { return false; }
};

std::vector<MeasurementRecord> PlayedYears() {
  const QStringList grounds{"時の神殿", "ドラゴンの森", "レヘルン", "アルカナ", "モラス", "エスペラ", "", "セラス"};
  std::mt19937 random(2026);
  std::uniform_int_distribution<int> minutes(20, 240), pause(60, 60 * 20), ground(0, 7);
  std::normal_distribution<double> noise(1.0, 0.15);
  std::vector<MeasurementRecord> records;
  QDateTime at(QDate(2020, 1, 1), QTime(19, 0));
  for (int i = 0; i < kRecords; ++i) {
    MeasurementRecord r;
    r.start = at.addSecs(random() % 60);
    const std::int64_t active = minutes(random) * 60'000LL;
    r.end = r.start.addMSecs(active + 5 * 60'000);
    r.activeMs = active;
    r.levelFrom = 140 + 59 * i / kRecords;
    r.levelTo = 140 + 59 * (i + 1) / kRecords;
    const int place = ground(random);
    r.gained = std::floor((4'000 + 1'500 * place) * 1000.0 * std::max(0.2, noise(random)) * active / 3'600'000);
    r.averageRate = RatePerHourK(r.gained, active);
    r.bestRate = *r.averageRate * 1.2;
    r.logFile = "給与明細" + r.start.toString("yyyyMMddhhmm") + ".txt";
    r.memo = grounds[place];
    records.push_back(r);
    at = r.end.addSecs(pause(random) * 60);
  }
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

// The window itself: reading the file into it, and one change of the memo
// filter as typing makes it (the table formats only the rows in view).
void WindowReload(benchmark::State& state) {
  NoBoxes boxes;
  HistoryWindow window(Shared().settings, boxes);
  for (auto _ : state) window.Reload();
}
BENCHMARK(WindowReload)->Unit(benchmark::kMillisecond);

void WindowFilter(benchmark::State& state) {
  NoBoxes boxes;
  HistoryWindow window(Shared().settings, boxes);
  window.Reload();
  int i = 0;
  for (auto _ : state) window.SetFilter({{}, {}, ++i % 2 ? "モラス" : ""});
}
BENCHMARK(WindowFilter)->Unit(benchmark::kMillisecond);

void WindowSortByRate(benchmark::State& state) {
  NoBoxes boxes;
  HistoryWindow window(Shared().settings, boxes);
  window.Reload();
  auto& model = const_cast<RecordTableModel&>(window.Table());
  int i = 0;
  for (auto _ : state) {
    model.sort(static_cast<int>(RecordColumn::AverageRate), ++i % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
  }
}
BENCHMARK(WindowSortByRate)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
