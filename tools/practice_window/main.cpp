// practice_window [--level L] [--exp E] [--step-ms N] [--gain G] [--frozen] [--patterns FOLDER]
//                 [--boxes] [--mark-gap N] [--no-level-mark]
// Shows the practice game; its experience rises by itself every N ms and
// "level=<L> exp=<E>" is printed at start and at every change. With --gain
// it rises by exactly G every N ms of wall-clock time since start, however
// late the timer fires, so the gain per second is known exactly.
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

#ifdef _WIN32
#include "capture/win32/win32_window_system.h"
#endif
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
  const QCommandLineOption levelOption(QStringLiteral("level"), QStringLiteral("Starting level (1-199)."),
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
  const QCommandLineOption gainOption(QStringLiteral("gain"), QStringLiteral("Fixed gain per step (1-1000000000)."),
                                     QStringLiteral("G"));
  // Layouts other games use, to set Tallymeter up against.
  const QCommandLineOption boxesOption(QStringLiteral("boxes"),
                                       QStringLiteral("Each digit in a box of its own, neighbours sharing a column."));
  const QCommandLineOption markGapOption(QStringLiteral("mark-gap"),
                                         QStringLiteral("Blank columns before the mark after each number (0-40)."),
                                         QStringLiteral("N"), QStringLiteral("0"));
  const QCommandLineOption noLevelMarkOption(QStringLiteral("no-level-mark"),
                                             QStringLiteral("Nothing follows the level's digits."));
  parser.addOptions({levelOption, expOption, stepOption, gainOption, frozenOption, patternsOption, boxesOption,
                     markGapOption, noLevelMarkOption});
  parser.process(app);

  std::int64_t level = 0, exp = 0, stepMs = 0, fixedGain = 0, markGap = 0;
  if (!ParseInt64(parser.value(levelOption), level) || level < 1 || level > kTopLevel ||
      !ParseInt64(parser.value(expOption), exp) || exp < 0 || exp > 9'999'999'999 ||
      !ParseInt64(parser.value(stepOption), stepMs) || stepMs < 1 || stepMs > 86'400'000 ||
      (parser.isSet(gainOption) &&
       (!ParseInt64(parser.value(gainOption), fixedGain) || fixedGain < 1 || fixedGain > 1'000'000'000)) ||
      !ParseInt64(parser.value(markGapOption), markGap) || markGap < 0 || markGap > 40) {
    QTextStream(stderr) << "practice_window: --level 1..199, --exp 0..9999999999, --step-ms 1..86400000, "
                           "--gain 1..1000000000, --mark-gap 0..40\n";
    return 2;
  }

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
  GameScreen screen(std::move(levelFont), std::move(expFont), Progress{static_cast<std::int32_t>(level), exp}, nullptr,
                    outerRectOf);
  const CounterStyle expStyle{parser.isSet(boxesOption), static_cast<int>(markGap), true};
  CounterStyle levelStyle = expStyle;
  levelStyle.mark = !parser.isSet(noLevelMarkOption);
  screen.SetCounterStyles(levelStyle, expStyle);
  QObject::connect(&screen, &GameScreen::progressChanged, &Report);
  Report(screen.progress());

  QTimer gains;
  const Progress start{static_cast<std::int32_t>(level), exp};
  QElapsedTimer sinceStart;
  sinceStart.start();
  QObject::connect(&gains, &QTimer::timeout, &screen, [&screen, &sinceStart, start, stepMs, fixedGain] {
    if (fixedGain > 0) {
      screen.SetProgress(AddExperience(start, fixedGain * (sinceStart.elapsed() / stepMs)));
      return;
    }
    const Progress now = screen.progress();
    const std::int64_t need = std::max<std::int64_t>(LevelRequirement(now.level), 60);
    const std::int64_t gain = QRandomGenerator::global()->bounded(static_cast<qint64>(need / 60)) + need / 300 + 1;
    screen.SetProgress(AddExperience(now, gain));
  });
  if (!parser.isSet(frozenOption)) gains.start(static_cast<int>(stepMs));

  screen.show();
  return app.exec();
}
