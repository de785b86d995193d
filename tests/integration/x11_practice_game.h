#pragma once
// Helpers of the X11 tests: the practice game as a child process, xdotool,
// waiting with events processed, the sprites the game draws its counters
// with, and program folders as the tests set them up.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

#include "base/cp932.h"
#include "capture/x11/x11_window_system.h"
#include "persistence/config_file.h"
#include "support/counter_sprite.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

inline const QString kBinDir = QStringLiteral(TALLYMETER_BIN_DIR);

inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
  return ProcessEventsUntil(done, timeoutMs);
}

// Runs a command line tool and waits for it.
inline bool RunTool(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
inline bool Xdotool(const QStringList& arguments) { return RunTool(QStringLiteral("xdotool"), arguments); }
inline bool Activate(WindowId id) { return Xdotool({"windowactivate", "--sync", QString::number(id)}); }
inline bool MoveWindow(WindowId id, QPoint to) {
  return Xdotool({"windowmove", "--sync", QString::number(id), QString::number(to.x()), QString::number(to.y())});
}

inline QImage CounterSprite(int area, const QString& digits) {
  return CounterSprite(kBinDir + "/system", area, digits);
}

// Shows `window` with `title` (at `geometry` unless empty); its id once the
// window system finds it, else 0.
inline WindowId ShowTitled(WindowSystem& ws, QWidget& window, const QString& title, const QRect& geometry = {}) {
  window.setWindowTitle(title);
  if (!geometry.isEmpty()) window.setGeometry(geometry);
  window.show();
  WindowId id = 0;
  WaitUntil([&] { return (id = ws.FindWindowByTitle(title)) != 0; });
  return id;
}

// The practice game showing `level` and `exp`, frozen unless `more` says
// otherwise, ended (and reaped) when this goes out of scope.
class PracticeGame {
 public:
  PracticeGame(const QString& level, const QString& exp, const QStringList& more = {"--frozen"}) {
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(kBinDir + "/practice_window", QStringList{"--level", level, "--exp", exp} + more);
  }
  ~PracticeGame() {
    process_.kill();
    process_.waitForFinished(10000);
  }
  PracticeGame(const PracticeGame&) = delete;
  PracticeGame& operator=(const PracticeGame&) = delete;

 private:
  QProcess process_;
};

// What the game gains: `gain` every `stepMs` of wall-clock time.
inline QStringList Gaining(int stepMs, std::int64_t gain) {
  return {"--step-ms", QString::number(stepMs), "--gain", QString::number(gain)};
}

// Waits until the game is found, brings it to the front and waits until its
// level reads at the default region (the experience is painted with it); 0
// when it never does.
inline WindowId ShowGame(WindowSystem& ws, const QString& level) {
  WindowId id = 0;
  if (!WaitUntil([&] { return (id = ws.FindWindowByTitle(kGame)) != 0; })) return 0;
  Activate(id);
  const QImage sprite = CounterSprite(0, level);
  const auto shown = [&] {
    return ws.ForegroundWindow() == id && Shows(CaptureGameArea(ws, id, kLevelRegion), sprite);
  };
  return WaitUntil(shown) ? id : 0;
}

// The delivered files, as defaults and as the player's set taught from them
// (no first-start message).
inline void InstallPatterns(const TempFolder& folder) {
  for (const QString& subfolder : {QStringLiteral("system"), QStringLiteral("Pattern")}) {
    QDir().mkpath(folder.File(subfolder));
    for (const QString& name : QDir(kBinDir + "/system").entryList(QDir::Files)) {
      QFile::copy(kBinDir + "/system/" + name, folder.File(subfolder + "/" + name));
    }
  }
}

// The real program `binary` copied into `folder` beside the delivered files,
// so the build folder keeps no settings, trace or lock; monitoring begins at
// start-up (the first capture 15 to 20 seconds later) with no lag unless
// `change` says otherwise. Its path.
inline QString InstallProgram(const TempFolder& folder, const QString& binary = QStringLiteral("Tallymeter"),
                              const std::function<void(Settings&)>& change = {}) {
  InstallPatterns(folder);
  Settings settings = Settings::Defaults(folder.Path());
  settings.autoStart = true;
  settings.lag = 0;
  if (change) change(settings);
  ConfigFile(QStringLiteral("SAVE"), settings, folder.Path());
  const QString program = folder.File(QStringLiteral("Tallymeter"));
  QFile::copy(kBinDir + "/" + binary, program);
  return program;
}

// The lines of the one log file in `folder`; none while there is not
// exactly one.
inline QStringList LogLines(const QString& folder) {
  const QStringList files = QDir(folder + "/log").entryList(QDir::Files);
  if (files.size() != 1) return {};
  QFile file(folder + "/log/" + files[0]);
  return file.open(QIODevice::ReadOnly)
             ? DecodeCp932(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)
             : QStringList();
}

// Runs this test program again on a private server with `environment`
// added, and whether the one test `filter` names passed there.
inline ::testing::AssertionResult PassesOnServerOfItsOwn(const QStringList& environment, const QString& filter) {
  QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
  for (const QString& pair : environment) all.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
  QProcess run;
  run.setProcessEnvironment(all);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(QStringLiteral(TALLYMETER_SOURCE_DIR "/scripts/with-x"),
            {QCoreApplication::applicationFilePath(), "--gtest_filter=" + filter});
  const bool finished = run.waitForFinished(240000);
  const QByteArray output = run.readAll();
  if (finished && run.exitCode() == 0 && output.contains("[  PASSED  ] 1 test.")) return ::testing::AssertionSuccess();
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
