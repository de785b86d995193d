#include "main_window/program_main.h"

#include <QApplication>
#include <cstdio>
#include <memory>

#ifdef _WIN32
#include "capture/win32/win32_window_system.h"
#else
#include "capture/x11/x11_window_system.h"
#endif
#include "capture/clock.h"
#include "dialogs/qt_message_boxes.h"
#include "main_window/null_window_system.h"
#include "main_window/qt_translations.h"
#include "main_window/startup.h"
#include "persistence/config_file.h"
#include "persistence/debug_trace.h"

namespace {

std::unique_ptr<WindowSystem> OpenWindowSystem() {
#ifdef _WIN32
  return OpenWin32WindowSystem();
#else
  std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  if (!x11) {
    std::fputs("Tallymeter: no X display can be opened; the game window cannot be found in this session.\n",
               stderr);
  }
  return x11;
#endif
}

}  // namespace

int RunProgram(QApplication& app, Clock& clock) {
  const QString programFolder = QCoreApplication::applicationDirPath();
  const InterfaceTranslators language = InstallInterfaceLanguage(
      UsesEnglish(StoredDisplayLanguage(programFolder), QLocale::system()), QtTranslationFolders(programFolder));
  std::unique_ptr<WindowSystem> windows = OpenWindowSystem();
  NullWindowSystem noDisplay;
  QtMessageBoxes boxes;
  DebugTrace trace(programFolder, [&clock] { return clock.Now(); });
  if (!language.traceNote.isEmpty()) trace.HoldUntilBegin(language.traceNote);
  Services services{clock, windows ? *windows : static_cast<WindowSystem&>(noDisplay), boxes, trace};

  StartedProgram program = StartProgram(services, programFolder);
  if (program.ended) return program.exitCode;
  QObject::connect(program.form.get(), &Form1::endRequested, &app,
                   [](int exitCode) { QCoreApplication::exit(exitCode); });
  return app.exec();
}
