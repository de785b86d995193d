// Builds the options dialog, the numeric input dialog and the pattern editor
// with the default settings and the delivered patterns (system/ beside the
// executable, when present), shows each and saves a picture of it.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>
#include <cstdio>

#include "capture/timing.h"
#include "capture/window_system.h"
#include "dialogs/form2.h"
#include "dialogs/form3.h"
#include "dialogs/form_input_check.h"
#include "dialogs/message_boxes.h"
#include "persistence/debug_trace.h"
#include "persistence/pattern_store.h"

namespace {

// The gallery captures nothing; the dialogs only need something to hold.
class NoWindows : public WindowSystem {
 public:
  WindowId FindWindowByTitle(const QString&) override { return 0; }
  WindowId ForegroundWindow() override { return 0; }
  std::optional<QRect> OuterRect(WindowId) override { return std::nullopt; }
  QSize ScreenSize() override { return {}; }
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

// Lets the window system map and decorate the window, then takes its frame
// from the screen (title bar included); the widget's own rendering when the
// screen cannot be read.
bool Snap(QWidget& window, const QString& path) {
  // A window manager frames the window a little after it is mapped; wait
  // for the frame (at most 3 s), then a moment more for it to be drawn.
  for (int i = 0; i < 120 && window.frameGeometry().size() == window.size(); ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(25);
  }
  for (int i = 0; i < 20; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(25);
  }
  QPixmap picture;
  if (QScreen* screen = window.screen()) {
    const QRect frame = window.frameGeometry();
    picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  }
  if (picture.isNull()) picture = window.grab();
  const bool saved = picture.save(path, "PNG");
  std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog_gallery <folder>\n");
    return 2;
  }
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
  ok &= Snap(options, out + QStringLiteral("/options.png"));
  options.hide();

  input.Prepare(QStringLiteral("5"), QStringLiteral("1200"), QStringLiteral("35"), QStringLiteral("1"),
                QStringLiteral("キャプチャー始点X値を入力してください"), QStringLiteral("設定値入力"));
  input.move(40, 40);
  input.show();
  ok &= Snap(input, out + QStringLiteral("/input.png"));
  input.hide();

  Form3 editor(state, services, [] {});
  editor.LoadArea(0);
  editor.move(40, 40);
  editor.show();
  ok &= Snap(editor, out + QStringLiteral("/editor.png"));
  editor.hide();
  return ok ? 0 : 1;
}
