// Tallymeter itself on a wall clock a test can set: the program folder,
// settings and window system are the real ones, but Now() is the system's
// time plus the seconds written in the file named by
// TALLYMETER_TEST_WALL_SHIFT (read at every call). The monotonic clock and
// the waits are the system's. Built with the tests only.
#include <QApplication>
#include <QFile>
#include <clocale>

#include "capture/timing.h"
#include "main_window/program_main.h"

namespace {

struct ShiftedClock : SystemClock {
  QDateTime Now() const override {
    QFile file(shiftFile);
    const qint64 seconds = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
    return SystemClock::Now().addSecs(seconds);
  }
  QString shiftFile = qEnvironmentVariable("TALLYMETER_TEST_WALL_SHIFT");
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  ShiftedClock clock;
  return RunProgram(app, clock);
}
