// practice_window [--level L] [--exp E] [--step-ms N] [--gain G] [--frozen] [--patterns FOLDER]
//                 [--grouped] [--percent D]
// Shows the practice game; its experience rises by itself every N ms and
// "level=<L> exp=<E>" is printed at start and at every change. With --gain
// it rises by exactly G every N ms of wall-clock time since start, however
// late the timer fires, so the gain per second is known exactly. Levels go
// by the experience table beside it (system/ExpTable.txt, and an
// ExpTable.txt of its own folder), as Tallymeter reads them. --grouped
// prints the experience with commas between digit groups; --percent prints
// how far the level is done, with D decimals, instead.
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <limits>

#ifdef _WIN32
#include "capture/win32/win32_window_system.h"
#endif
#include "accounting/exp_table_file.h"
#include "counter_sprites.h"
#include "experience.h"
#include "game_screen.h"

namespace {

void Report(const Progress& p) {
  std::printf("level=%d exp=%lld\n", p.level, static_cast<long long>(p.exp));
  std::fflush(stdout);
}

bool ParseInt64(const QString& text, std::int64_t& value) {
  bool ok = false;
  value = text.toLongLong(&ok);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("A practice window standing in for the game."));
  parser.addHelpOption();
  const QCommandLineOption levelOption(QStringLiteral("level"), QStringLiteral("Starting level (1-300)."),
                                       QStringLiteral("L"), QStringLiteral("152"));
  const QCommandLineOption expOption(QStringLiteral("exp"), QStringLiteral("Starting experience within the level."),
                                     QStringLiteral("E"), QStringLiteral("12345678"));
  const QCommandLineOption stepOption(QStringLiteral("step-ms"), QStringLiteral("Milliseconds between gains."),
                                      QStringLiteral("N"), QStringLiteral("2000"));
  const QCommandLineOption frozenOption(QStringLiteral("frozen"), QStringLiteral("Experience does not rise."));
  // Another digit set lets a test teach Tallymeter digits it does not know yet.
  const QCommandLineOption patternsOption(QStringLiteral("patterns"),
                                          QStringLiteral("Folder of the 22 pattern bitmaps to draw with."),
                                          QStringLiteral("FOLDER"));
  const QCommandLineOption gainOption(QStringLiteral("gain"),
                                      QStringLiteral("Fixed gain per step (1-1000000000000000)."), QStringLiteral("G"));
  const QCommandLineOption groupedOption(QStringLiteral("grouped"),
                                         QStringLiteral("Experience with commas between digit groups."));
  const QCommandLineOption percentOption(QStringLiteral("percent"),
                                         QStringLiteral("Show the level's progress in percent with D decimals (0-6)."),
                                         QStringLiteral("D"));
  parser.addOptions(
      {levelOption, expOption, stepOption, gainOption, frozenOption, patternsOption, groupedOption, percentOption});
  parser.process(app);

  constexpr std::int64_t kLargestGain = 1'000'000'000'000'000;
  std::int64_t level = 0, exp = 0, stepMs = 0, fixedGain = 0, percentDecimals = -1;
  if (!ParseInt64(parser.value(levelOption), level) || level < 1 || level > kTopLevel ||
      !ParseInt64(parser.value(expOption), exp) || exp < 0 || exp > kLargestLevelSize ||
      !ParseInt64(parser.value(stepOption), stepMs) || stepMs < 1 || stepMs > 86'400'000 ||
      (parser.isSet(gainOption) &&
       (!ParseInt64(parser.value(gainOption), fixedGain) || fixedGain < 1 || fixedGain > kLargestGain)) ||
      (parser.isSet(percentOption) &&
       (!ParseInt64(parser.value(percentOption), percentDecimals) || percentDecimals < 0 || percentDecimals > 6))) {
    QTextStream(stderr) << "practice_window: --level 1..300, --exp 0..9007199254740991, --step-ms 1..86400000, "
                           "--gain 1..1000000000000000, --percent 0..6\n";
    return 2;
  }

  // The table Tallymeter would read from this folder.
  const LoadedExpTable loaded = LoadExpTable(QCoreApplication::applicationDirPath());
  for (const Notice& notice : loaded.notices) QTextStream(stderr) << "practice_window: " << notice.text << "\n";
  const std::shared_ptr<const ExpTable> table = loaded.table;
  const CounterStyle style{parser.isSet(groupedOption), static_cast<int>(percentDecimals)};

  const QString system = parser.isSet(patternsOption)
                             ? parser.value(patternsOption)
                             : QCoreApplication::applicationDirPath() + QStringLiteral("/system");
  CounterFont levelFont = LoadCounterFont(system, 0);
  CounterFont expFont = LoadCounterFont(system, 1);
  if (!levelFont.IsComplete() || !expFont.IsComplete()) {
    QTextStream(stderr) << "practice_window: pattern bitmaps missing in " << system << "\n";
  }

  GameScreen::OuterRectOf outerRectOf;
#ifdef _WIN32
  // Tallymeter counts from GetWindowRect's corner, invisible resize borders
  // included; Qt's frame geometry leaves those out.
  std::shared_ptr<WindowSystem> windows = OpenWin32WindowSystem();
  outerRectOf = [windows](WId id) { return windows->OuterRect(static_cast<WindowId>(id)); };
#endif
  GameScreen screen(std::move(levelFont), std::move(expFont), table, style,
                    Progress{static_cast<std::int32_t>(level), exp}, nullptr, outerRectOf);
  QObject::connect(&screen, &GameScreen::progressChanged, &Report);
  Report(screen.progress());

  QTimer gains;
  const Progress start{static_cast<std::int32_t>(level), exp};
  QElapsedTimer sinceStart;
  sinceStart.start();
  QObject::connect(&gains, &QTimer::timeout, &screen, [&screen, &sinceStart, &table, start, stepMs, fixedGain] {
    if (fixedGain > 0) {
      const std::int64_t steps = sinceStart.elapsed() / stepMs;
      std::int64_t gain = 0;
      if (__builtin_mul_overflow(fixedGain, steps, &gain)) gain = std::numeric_limits<std::int64_t>::max();
      screen.SetProgress(AddExperience(*table, start, gain));
      return;
    }
    const Progress now = screen.progress();
    // At a level of unknown size, as fast as at the last level below that has one.
    std::int64_t size = 0;
    for (std::int32_t l = now.level; l >= 1 && size == 0; --l) size = LevelRequirement(*table, l);
    const std::int64_t need = std::max<std::int64_t>(size, 60);
    const std::int64_t gain = QRandomGenerator::global()->bounded(static_cast<qint64>(need / 60)) + need / 300 + 1;
    screen.SetProgress(AddExperience(*table, now, gain));
  });
  if (!parser.isSet(frozenOption)) gains.start(static_cast<int>(stepMs));

  screen.show();
  return app.exec();
}
