// Setting Tallymeter up for a game whose digits it does not know, the fast
// way, on a real X server: both capture areas are picked by dragging on the
// game window's picture, the digits are taught by typing the numbers the
// game shows over as many captures as it takes, and the next timed
// captures are read and logged. No image editor, no clipboard.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <cstdio>
#include <gtest/gtest.h>

#include "dialogs/area_picker.h"
#include "dialogs/capture_teacher.h"
#include "dialogs/form2.h"
#include "dialogs/form3.h"
#include "in_process_program.h"
#include "persistence/pattern_store.h"
#include "persistence/text_file.h"
#include "x11_practice_game.h"

namespace {

// The practice game, frozen at one reading, drawn with `patterns`, its
// window put where Tallymeter's windows leave it uncovered.
class ShownGame {
 public:
  ShownGame(WindowSystem& ws, const QString& patterns, const QString& level, const QString& exp)
      : ws_(ws), sprite_(CounterSprite(0, level, patterns)) {
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(kBinDir + "/practice_window", {"--frozen", "--level", level, "--exp", exp, "--patterns", patterns});
    WaitUntil([&] { return (id_ = ws_.FindWindowByTitle(kGame)) != 0; });
    if (id_ != 0) RunTool(QStringLiteral("xdotool"), {"windowmove", "--sync", QString::number(id_), "620", "0"});
  }
  ~ShownGame() {
    process_.kill();
    process_.waitForFinished(10000);
    WaitUntil([&] { return ws_.FindWindowByTitle(kGame) == 0; });
  }
  // Brings the game to the front and waits until its level is drawn where
  // the level area looks (the experience is painted with it).
  bool ToFront() {
    if (id_ == 0) return false;
    RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(id_)});
    return WaitUntil([&] { return ws_.ForegroundWindow() == id_ && Shows(CaptureGameArea(ws_, id_, kLevelRegion), sprite_); });
  }

 private:
  WindowSystem& ws_;
  QImage sprite_;
  QProcess process_;
  WindowId id_ = 0;
};

// Runs `act` on the modal dialog of type T as soon as it is open.
template <typename T>
void WhenOpen(std::function<void(T&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

// Drags from `from` to `to` (picture pixels, both included) with the
// mouse, after zooming in with the wheel and scrolling there.
void DragArea(AreaPicker& picker, QPoint from, QPoint to) {
  QWidget* canvas = picker.Canvas();
  QWheelEvent wheel(QPointF(from), canvas->mapToGlobal(QPointF(from)), QPoint(), QPoint(0, 3 * 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(canvas, &wheel);
  const int z = picker.Zoom();
  picker.findChild<QScrollArea*>("scrWindow")->ensureVisible(from.x() * z, from.y() * z, 50, 50);
  const QPoint half(z / 2, z / 2);
  QTest::mousePress(canvas, Qt::LeftButton, {}, from * z + half);
  QTest::mouseMove(canvas, ((from + to) / 2) * z + half);
  QTest::mouseMove(canvas, to * z + half);
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, to * z + half);
}

bool AllTaught(Form3& editor, int area) {
  editor.LoadArea(area);
  const std::array<bool, 11> unfinished = editor.Unfinished();
  return std::none_of(unfinished.begin(), unfinished.end(), [](bool b) { return b; });
}

// Opens the editor of `area`, teaches it `number` from the current capture
// by typing it, and saves.
void Teach(Form1& form, int area, const QString& number) {
  QTimer::singleShot(0, [&form, number] {
    Form3& editor = *form.PatternEditor();
    WhenOpen<CaptureTeacher>([number](CaptureTeacher& teacher) {
      auto* field = teacher.findChild<QLineEdit*>("txtNumber");
      QTest::keyClicks(field, number);
      QTest::keyClick(field, Qt::Key_Return);  // finds the cells
      teacher.findChild<QPushButton*>("cmdAccept")->click();
    });
    editor.findChild<QPushButton*>("cmdTeach")->click();
    editor.findChild<QPushButton*>("cmdSave")->click();
    if (editor.isVisible()) editor.findChild<QPushButton*>("cmdEnd")->click();
  });
  form.menuPattern_Click(area);
}

TEST(Setup, AreasPickedByDraggingAndDigitsTaughtByTypingReadTheNextCapture) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  InstallPatterns(folder);
  // As a first start leaves them: every pattern the delivered default.
  QString origins;
  for (int slot = 0; slot < kPatternSlots; ++slot) origins += PatternFileName(slot) + QStringLiteral(" , default\r\n");
  folder.Write(QStringLiteral("Pattern/") + QLatin1String(kPatternOriginFile), origins.toLatin1());
  // The game draws the delivered digits with their colours inverted.
  const QString changed = InvertedPatterns(folder);
  ASSERT_FALSE(changed.isEmpty());
  InProcessProgram program(*x11, folder.Path());
  ASSERT_FALSE(program.started.ended);
  Form1& form = *program.started.form;
  form.move(0, 0);
  Settings& settings = form.State().settings;
  settings.captureRegions = {CaptureRegion{10, 10, 30, 30}, CaptureRegion{10, 50, 30, 30}};

  // The player's progress: level and experience over the captures.
  const std::vector<std::pair<QString, QString>> shown = {
      {"152", "3141592"}, {"163", "26535897"}, {"178", "27950288"}, {"190", "41971693"}, {"194", "99375105"},
      {"194", "99820974"}, {"195", "1234567"}};
  std::size_t next = 0;

  {  // Picking both areas on the first game picture.
    ShownGame game(*x11, changed, shown[0].first, shown[0].second);
    ASSERT_TRUE(game.ToFront());
    form.menuOption_Click();
    Form2& options = *form.OptionsDialog();
    options.move(0, 540);
    const QPoint firstCell[2] = {{35, 576}, {463, 570}};
    const QSize size[2] = {{44, 13}, {90, 9}};
    for (int area = 0; area < 2; ++area) {
      WhenOpen<AreaPicker>([&, area](AreaPicker& picker) {
        DragArea(picker, firstCell[area], firstCell[area] + QPoint(size[area].width() - 1, size[area].height() - 1));
        EXPECT_EQ(picker.findChild<QLabel*>("lblReading")->text(), QStringLiteral("認識NG")) << "not taught yet";
        picker.findChild<QPushButton*>("cmdOk")->click();
      });
      options.findChild<QPushButton*>(QStringLiteral("cmdPick(%1)").arg(area))->click();
    }
    options.findChild<QPushButton*>("cmdEnd")->click();
  }
  for (int area = 0; area < 2; ++area) {
    const CaptureRegion& r = settings.captureRegions[area];
    const CaptureRegion& wanted = area == 0 ? kLevelRegion : kExpRegion;
    EXPECT_EQ(std::tie(r.sx, r.sy, r.ex, r.ey), std::tie(wanted.sx, wanted.sy, wanted.ex, wanted.ey)) << area;
  }

  // Teaching, before monitoring starts: at each single capture the player
  // types what the game shows into the areas that still wait for a digit.
  int captures = 0;
  while (next < shown.size() && !(AllTaught(*form.PatternEditor(), 0) && AllTaught(*form.PatternEditor(), 1))) {
    const auto& [level, exp] = shown[next++];
    ShownGame game(*x11, changed, level, exp);
    ASSERT_TRUE(game.ToFront());
    form.cmdCapture_Click();
    ++captures;
    for (int area = 0; area < 2; ++area) {
      if (!AllTaught(*form.PatternEditor(), area)) Teach(form, area, area == 0 ? level : exp);
    }
  }
  ASSERT_TRUE(AllTaught(*form.PatternEditor(), 0) && AllTaught(*form.PatternEditor(), 1))
      << "still untaught after " << captures << " captures";
  EXPECT_TRUE(program.boxes.shown.empty()) << program.boxes.shown.front().text.toStdString();
  std::printf("captures needed to teach every digit of both areas: %d\n", captures);
  RecordProperty("captures_to_teach", captures);

  // Monitoring, a while later: the next two timed captures read the game
  // and log the gain. (The single captures above, read with digits still
  // missing, left readings and a log file of their own.)
  program.clock.AdvanceSeconds(5 * 60);
  QDateTime firstAt;
  // Level 190 needs 1,312,399,850: a counter the misread guard believes.
  for (const auto& [level, exp] : {std::pair<QString, QString>{"190", "1234567890"}, {"190", "1234600000"}}) {
    ShownGame game(*x11, changed, level, exp);
    ASSERT_TRUE(game.ToFront());
    if (!firstAt.isValid()) form.menuRun_Click();
    program.clock.AdvanceSeconds(firstAt.isValid() ? 20 * 60 : 20);
    if (!firstAt.isValid()) firstAt = program.clock.Now();
    form.timCaptureInterval_Timer();
    EXPECT_EQ(program.Caption(0), level);
    EXPECT_EQ(program.Caption(1), exp);
  }
  EXPECT_TRUE(program.boxes.shown.empty());
  QFile file(folder.File(QStringLiteral("log/給与明細%1.txt").arg(firstAt.toString("yyyyMMddHHmm"))));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString second = firstAt.addSecs(20 * 60).toString("MM/dd HH:mm");
  EXPECT_EQ(file.readAll(),
            EncodeCp932(QStringLiteral("     月日 時刻     Lv          Exp         獲得Exp  経過(分)   時給(k/h) \r\n") +
                        second + QStringLiteral("   190   1,234,600,000       32,110     20.0           96 \r\n")));
}

}  // namespace
