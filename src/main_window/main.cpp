// Tallymeter: the experience meter for the game window titled "MapleStory".

#include <QApplication>
#include <clocale>
#include <cstdio>

#include "capture/timing.h"
#include "capture/x11/x11_window_system.h"
#include "dialogs/message_boxes.h"
#include "main_window/null_window_system.h"
#include "main_window/qt_translations.h"
#include "main_window/startup.h"
#include "persistence/debug_trace.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt takes the numeric locale from the environment; numbers in files and
  // recognised digits are read with "." as the point.
  std::setlocale(LC_NUMERIC, "C");

  const QString programFolder = QCoreApplication::applicationDirPath();
  const std::unique_ptr<QTranslator> qtJapanese = InstallQtJapanese(QtTranslationFolders(programFolder));
  SystemClock clock;
  std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  NullWindowSystem noDisplay;
  if (!x11) {
    std::fputs("Tallymeter: no X display can be opened; the game window cannot be found in this session.\n",
               stderr);
  }
  QtMessageBoxes boxes;
  DebugTrace trace(programFolder, [&clock] { return clock.Now(); });
  Services services{clock, x11 ? *x11 : static_cast<WindowSystem&>(noDisplay), boxes, trace};

  StartedProgram program = StartProgram(services, programFolder);
  if (program.ended) return program.exitCode;
  QObject::connect(program.form.get(), &Form1::endRequested, &app,
                   [](int exitCode) { QCoreApplication::exit(exitCode); });
  return app.exec();
}
