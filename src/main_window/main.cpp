// Tallymeter: the experience meter for the game window titled "MapleStory".

#include <QApplication>
#include <clocale>

#include "capture/timing.h"
#ifdef _WIN32
#include "capture/win32/win32_window_system.h"
#endif
#include "main_window/program_main.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  // Before the first window, so that every rectangle is in physical pixels.
  DeclarePerMonitorDpiAwareness();
#endif
  QApplication app(argc, argv);
  // Qt takes the numeric locale from the environment; numbers in files and
  // recognised digits are read with "." as the point.
  std::setlocale(LC_NUMERIC, "C");
  SystemClock clock;
  return RunProgram(app, clock);
}
