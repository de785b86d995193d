#pragma once
// Helpers of the X11 tests: xdotool, the game brought to the front, program
// folders as the tests set them up, the program run as a player runs it, and
// runs on a server of their own.

#include <gtest/gtest.h>

#include "base/cp932.h"
#include "capture/x11/x11_window_system.h"
#include "persistence/config_file.h"
#include "practice_game.h"

inline bool Xdotool(const QStringList& arguments) {
  QProcess p;
  p.start(QStringLiteral("xdotool"), arguments);
  return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
inline bool Activate(WindowId id) { return Xdotool({"windowactivate", "--sync", QString::number(id)}); }
inline bool MoveWindow(WindowId id, QPoint to) {
  return Xdotool({"windowmove", "--sync", QString::number(id), QString::number(to.x()), QString::number(to.y())});
}

// Waits until the game is found, brings it to the front and waits until its
// level reads at the default region (the experience is painted with it); 0
// when it never does.
inline WindowId ShowGame(WindowSystem& ws, const QString& level) {
  WindowId id = 0;
  if (!WaitUntil([&] { return (id = ws.FindWindowByTitle(kGame)) != 0; })) return 0;
  Activate(id);
  const QImage sprite = CounterSprite(0, level);
  return WaitUntil([&] { return ws.ForegroundWindow() == id && Shows(CaptureGameArea(ws, id, kLevelRegion), sprite); })
             ? id
             : 0;
}

// The real program `binary` copied into `folder` beside the delivered files,
// so the build folder keeps no settings, trace or lock; monitoring begins at
// start-up (the first capture 15 to 20 seconds later) with no lag unless
// `change` says otherwise. Its path.
inline QString InstallProgram(const TempFolder& folder, const QString& binary = QStringLiteral("Tallymeter"),
                              const std::function<void(Settings&)>& change = {}) {
  InstallPatterns(folder.Path());
  Settings settings = Settings::Defaults(folder.Path());
  settings.autoStart = true;
  settings.lag = 0;
  if (change) change(settings);
  ConfigFile(QStringLiteral("SAVE"), settings, folder.Path());
  const QString program = folder.File(QStringLiteral("Tallymeter"));
  QFile::copy(BinDir() + "/" + binary, program);
  return program;
}

// The lines of the log file `name` in `folder`, or of the one log file there
// (none while there is not exactly one).
inline QStringList LogLines(const QString& folder, QString name = {}) {
  const QStringList files = QDir(folder + "/log").entryList(QDir::Files);
  if (name.isEmpty() && files.size() == 1) name = files[0];
  QFile file(folder + "/log/" + name);
  return !name.isEmpty() && file.open(QIODevice::ReadOnly)
             ? DecodeCp932(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)
             : QStringList();
}

// The program at `path` started as a player starts it, with `environment`
// added; killed, if it still runs, when this goes.
struct Meter {
  explicit Meter(const QString& path, const QStringList& environment = {}, const QStringList& arguments = {}) {
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : environment) all.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    process.setProcessEnvironment(all);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(path, arguments);
  }
  ~Meter() {
    process.kill();
    process.waitForFinished(10000);
  }
  Meter(const Meter&) = delete;
  Meter& operator=(const Meter&) = delete;
  QProcess process;
};

// Runs this test program again on a private server with `environment`
// added, and whether the one test `filter` names passed there.
inline ::testing::AssertionResult PassesOnServerOfItsOwn(const QStringList& environment, const QString& filter) {
  Meter run(QStringLiteral(TALLYMETER_SOURCE_DIR "/scripts/with-x"), environment,
            {QCoreApplication::applicationFilePath(), "--gtest_filter=" + filter});
  const bool finished = run.process.waitForFinished(240000);
  const QByteArray output = run.process.readAll();
  if (finished && run.process.exitCode() == 0 && output.contains("[  PASSED  ] 1 test.")) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << output.toStdString();
}

// A test on the X server. A killed game's window lingers until the server
// has noticed; the next test must not find it.
class X11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ws = OpenX11WindowSystem();
    ASSERT_NE(ws, nullptr) << "no X display";
  }
  void TearDown() override { EXPECT_TRUE(!ws || WaitUntil([&] { return ws->FindWindowByTitle(kGame) == 0; })); }
  std::unique_ptr<WindowSystem> ws;
};
