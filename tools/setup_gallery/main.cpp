// Starts the practice game, then shows the set-up tools on it as a player
// would meet them and saves a picture of each: the area picker zoomed in on
// the experience counter, the teacher with the cells of "1234567890", and
// the pattern editor after the level digits of "152" were taught, and the
// guide a first start opens.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>

#include "capture/capture_area.h"
#include "capture/timing.h"
#include "capture/x11/x11_window_system.h"
#include "dialogs/area_picker.h"
#include "dialogs/capture_teacher.h"
#include "dialogs/form3.h"
#include "dialogs/qt_message_boxes.h"
#include "dialogs/setup_guide.h"
#include "persistence/debug_trace.h"
#include "persistence/pattern_store.h"
#include "shared/gallery_language.h"
#include "shared/snap_window.h"

namespace {

void Pause(int ms) {
  for (int i = 0; i < ms / 20; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(20);
  }
}

void TypeAndFind(CaptureTeacher& teacher, const QString& number) {
  teacher.findChild<QLineEdit*>("txtNumber")->setText(number);
  teacher.findChild<QPushButton*>("cmdFind")->click();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: setup_gallery <folder> [--english]\n");
    return 2;
  }
  std::unique_ptr<QTranslator> english;
  if (GalleryInEnglish(argc, argv, english) && !english) return 1;
  const QString out = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  if (!x11 || !QDir().mkpath(out)) {
    std::fprintf(stderr, "setup_gallery: no X display, or cannot create %s\n", argv[1]);
    return 1;
  }
  const QString bin = QCoreApplication::applicationDirPath();
  QProcess game;
  game.setStandardOutputFile(QProcess::nullDevice());
  game.start(bin + "/practice_window", {"--frozen", "--level", "152", "--exp", "1234567890"});
  WindowId id = 0;
  for (int i = 0; i < 250 && (id = x11->FindWindowByTitle(kGameTitle)) == 0; ++i) Pause(40);
  if (id == 0) {
    std::fprintf(stderr, "setup_gallery: the practice game did not come up\n");
    return 1;
  }
  Pause(1500);  // framed and painted

  QTemporaryDir programFolder;
  SystemClock clock;
  QtMessageBoxes boxes;
  DebugTrace trace(programFolder.path(), [&clock] { return clock.Now(); });
  Services services{clock, *x11, boxes, trace};
  ProgramState state;
  state.programFolder = programFolder.path();
  state.settings = Settings::Defaults(programFolder.path());
  QDir().mkpath(programFolder.filePath("system"));
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    QFile::copy(bin + "/system/" + PatternFileName(slot), programFolder.filePath("system/" + PatternFileName(slot)));
  }
  PatternFiles(QStringLiteral("INIT"), state.patternImages, state.patterns, state.programFolder);

  const QRect outer = x11->OuterRect(id).value_or(QRect());
  const QImage window = CaptureWindowArea(*x11, id, 0, 0, outer.width(), outer.height());
  const std::array<QImage, 2> captures = {CaptureGameArea(*x11, id, state.settings.captureRegions[0]),
                                          CaptureGameArea(*x11, id, state.settings.captureRegions[1])};
  game.kill();
  game.waitForFinished(10000);
  if (window.isNull()) {
    std::fprintf(stderr, "setup_gallery: the game window could not be read\n");
    return 1;
  }

  bool ok = true;
  {
    AreaPicker picker(boxes, state.patterns);
    picker.Prepare(window, 1, state.settings.captureRegions[1]);
    picker.move(20, 20);
    picker.show();
    Pause(300);
    const CaptureRegion& r = state.settings.captureRegions[1];
    const QPointF at(r.sx + 30, r.sy + 4);
    QWheelEvent wheel(at, picker.Canvas()->mapToGlobal(at), QPoint(), QPoint(0, 3 * 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(picker.Canvas(), &wheel);
    picker.findChild<QScrollArea*>("scrWindow")->ensureVisible((r.sx + 45) * picker.Zoom(), r.sy * picker.Zoom(), 320, 160);
    ok &= SnapWindow(picker, out + "/area-picker.png");
  }
  {
    CaptureTeacher teacher(boxes);
    teacher.Prepare(captures[1], 1, {});
    TypeAndFind(teacher, QStringLiteral("1234567890"));
    teacher.move(20, 20);
    teacher.show();
    ok &= SnapWindow(teacher, out + "/capture-teacher.png");
  }
  {
    Form3 editor(state, services, [] {});
    editor.SetCaptureSource([&captures](int area) { return captures[static_cast<std::size_t>(area)]; });
    editor.LoadArea(0);
    QTimer::singleShot(0, [] {
      if (auto* teacher = qobject_cast<CaptureTeacher*>(QApplication::activeModalWidget())) {
        TypeAndFind(*teacher, QStringLiteral("152"));
        teacher->findChild<QPushButton*>("cmdAccept")->click();
      }
    });
    editor.findChild<QPushButton*>("cmdTeach")->click();
    editor.move(20, 20);
    editor.show();
    ok &= SnapWindow(editor, out + "/editor-teach.png");
  }
  {
    SetupGuide guide(SetupGuide::Steps{});
    guide.move(20, 20);
    guide.show();
    ok &= SnapWindow(guide, out + "/guide.png");
  }
  return ok ? 0 : 1;
}
