// Builds the options dialog, the numeric input dialog and the pattern editor
// with the default settings and the delivered patterns (system/ beside the
// executable, when present), shows each and saves a picture of it.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdio>

#include "capture/timing.h"
#include "capture/window_system.h"
#include "dialogs/form2.h"
#include "dialogs/form3.h"
#include "dialogs/form_input_check.h"
#include "dialogs/qt_message_boxes.h"
#include "dialogs/options_rules.h"
#include "persistence/debug_trace.h"
#include "persistence/pattern_store.h"
#include "shared/gallery_language.h"
#include "shared/snap_window.h"

namespace {

// The gallery captures nothing; the dialogs only need something to hold.
class NoWindows : public WindowSystem {
 public:
  WindowId FindWindowByTitle(const QString&) override { return 0; }
  WindowId ForegroundWindow() override { return 0; }
  std::optional<QRect> OuterRect(WindowId) override { return std::nullopt; }
  Desktop DesktopLayout() override { return {}; }
  QImage GrabScreen(const QRect&) override { return {}; }
  void Beep() override {}
};

void LoadDeliveredPatterns(PatternImages& images) {
  const QString system = QCoreApplication::applicationDirPath() + QStringLiteral("/system/");
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    QImage& target = slot < 20 ? images.digits[static_cast<std::size_t>(slot)]
                               : images.delimiters[static_cast<std::size_t>(slot - 20)];
    target.load(system + PatternFileName(slot));
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog_gallery <folder> [--english]\n");
    return 2;
  }
  std::unique_ptr<QTranslator> english;
  if (GalleryInEnglish(argc, argv, english) && !english) return 1;
  const QString out = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  if (!QDir().mkpath(out)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }

  QTemporaryDir programFolder;
  SystemClock clock;
  NoWindows windows;
  QtMessageBoxes boxes;
  DebugTrace trace(programFolder.path(), [&clock] { return clock.Now(); });
  Services services{clock, windows, boxes, trace};
  ProgramState state;
  state.programFolder = programFolder.path();
  state.settings = Settings::Defaults(programFolder.path());
  LoadDeliveredPatterns(state.patternImages);

  bool ok = true;
  FormInputCheck input(boxes);
  Form2 options(state, services, input, [] {});
  options.ShowFromMenu();
  options.move(40, 40);
  ok &= SnapWindow(options, out + QStringLiteral("/options.png"));
  options.hide();

  // In English the dialog's own title stands in for the options dialog's.
  input.Prepare(QStringLiteral("5"), QStringLiteral("1200"), QStringLiteral("35"), QStringLiteral("1"),
                InfoOf(NumericSetting::StartX).prompt, english ? QString() : QStringLiteral("設定値入力"));
  input.move(40, 40);
  input.show();
  ok &= SnapWindow(input, out + QStringLiteral("/input.png"));
  input.hide();

  Form3 editor(state, services, [] {});
  editor.LoadArea(0);
  editor.move(40, 40);
  editor.show();
  ok &= SnapWindow(editor, out + QStringLiteral("/editor.png"));
  editor.hide();
  return ok ? 0 : 1;
}
