// Picking a capture area by dragging on the game window's picture: the
// rectangle and its read-out in the settings' coordinates, zoom, nudging,
// the live reading, and OK taking the numbers through the typed checks.
#include <QPainter>
#include <QWheelEvent>

#include "recognition/digit_segmentation.h"
#include "dialog_test_support.h"
#include "dialogs/area_pick_rules.h"
#include "dialogs/area_picker.h"
#include "dialogs/form2.h"
#include "dialogs/form_input_check.h"
#include "dialogs/pattern_rules.h"
#include "persistence/pattern_store.h"
#include "support/digit_fonts.h"

namespace {

TEST(AreaPickRules, DragNudgeZoomAndTheTypedLimits) {
  const QSize picture(100, 50);
  EXPECT_EQ(PickedRect({10, 5}, {19, 9}, picture), QRect(10, 5, 10, 5));
  EXPECT_EQ(PickedRect({19, 9}, {10, 5}, picture), QRect(10, 5, 10, 5)) << "dragged up and left";
  EXPECT_EQ(PickedRect({90, 40}, {150, -3}, picture), QRect(90, 0, 10, 41)) << "kept inside";
  EXPECT_EQ(PickedRect({7, 7}, {7, 7}, picture), QRect(7, 7, 1, 1));
  EXPECT_EQ(Nudged(QRect(10, 5, 10, 5), 1, -1, false, picture), QRect(11, 4, 10, 5));
  EXPECT_EQ(Nudged(QRect(90, 45, 10, 5), 1, 1, false, picture), QRect(90, 45, 10, 5));
  EXPECT_EQ(Nudged(QRect(10, 5, 1, 5), -1, 1, true, picture), QRect(10, 5, 1, 6));
  EXPECT_EQ(PicturePoint({15.9, 8.0}, 4), QPoint(3, 2));
  EXPECT_EQ(ZoomAfterWheel(7, 3), 8);
  EXPECT_EQ(ZoomAfterWheel(2, -5), 1);

  // A click anywhere keeps the rectangle; a drag, even by one pixel, makes a new one.
  const QRect before(10, 5, 10, 5);
  EXPECT_EQ(SelectionAfterDrag(before, {50, 40}, {50, 40}, picture), before) << "a click outside";
  EXPECT_EQ(SelectionAfterDrag(before, {150, 40}, {120, 40}, picture), before) << "a click beyond the edge";
  EXPECT_EQ(SelectionAfterDrag(before, {50, 40}, {51, 40}, picture), QRect(50, 40, 2, 1));

  EXPECT_FALSE(RegionRefusal({5, 5, 4, 4}).has_value());
  EXPECT_FALSE(RegionRefusal({1200, 1000, 200, 100}).has_value());
  const struct {
    CaptureRegion region;
    QString text;
  } refused[] = {
      {{5, 1001, 44, 13}, QStringLiteral("入力上限を超えています\r\n始点Y: 1001（5～1000）")},
      {{35, 576, 3, 13}, QStringLiteral("入力下限を超えています\r\nサイズX: 3（4～200）")},
      {{35, 576, 44, 101}, QStringLiteral("入力上限を超えています\r\nサイズY: 101（4～100）")},
  };
  for (const auto& r : refused) EXPECT_EQ(RegionRefusal(r.region), (Notice{r.text, QStringLiteral("入力エラー")}));
}

TEST(AreaPickRules, TheViewOpensCloseOnAPickedAreaElseOnTheWindowsLowerPart) {
  const QSize window(800, 600);
  const QSize viewport(840, 560);
  const CaptureRegion levelDefault = Settings::Defaults(QString()).captureRegions[0];
  EXPECT_FALSE(AreaPicked(levelDefault, 0, window)) << "the delivered default is no pick";
  EXPECT_TRUE(AreaPicked(levelDefault, 1, window)) << "area 1's default in area 2 is the player's";
  EXPECT_FALSE(AreaPicked({780, 590, 44, 13}, 0, window)) << "reaching out of the window";
  EXPECT_TRUE(AreaPicked({40, 30, 44, 13}, 0, window));
  const struct {
    const char* name;
    QSize window;
    CaptureRegion current;
    bool picked;
    OpeningView expected;
  } rows[] = {
      {"a digit-sized area, as close as it goes", window, {40, 30, 44, 13}, true, {{40, 30, 44, 13}, 8, {61, 36}}},
      {"a wide area, the zoom its room allows", window, {100, 500, 200, 20}, true, {{100, 500, 200, 20}, 2, {199, 509}}},
      {"the default, already low", window, levelDefault, false, {{35, 576, 44, 13}, 2, {56, 582}}},
      {"a tall window: brought down", QSize(1366, 768), levelDefault, false, {{8, 685, 44, 13}, 2, {29, 691}}},
      {"off the window: brought in", window, {2000, 2000, 90, 9}, false, {{8, 535, 90, 9}, 2, {52, 539}}},
  };
  for (const auto& [name, shown, current, picked, expected] : rows) {
    const OpeningView view = OpeningViewOf(shown, current, picked, viewport);
    EXPECT_EQ(std::tuple(view.selection, view.zoom, view.centre),
              std::tuple(expected.selection, expected.zoom, expected.centre))
        << name;
  }
}

class PickTest : public ::testing::Test {
 protected:
  // The game at (100, 50) shows "152" at (40, 30) of its outer rectangle,
  // in a font the patterns were taught from.
  PickTest() {
    const PixelFont font = BoldFont(8);
    const QImage taught = DrawCapture(font, "1234567890", CaptureLook());
    const DigitCells cells = FindDigitCells(taught, "1234567890").cells;
    AreaPictures pictures;
    for (int i = 0; i < 11; ++i) pictures[static_cast<std::size_t>(i < 10 ? (i + 1) % 10 : 10)] = CellPicture(taught, cells, i);
    StoreArea(world.state.patternImages, 0, pictures);
    StoreArea(world.state.patternImages, 1, pictures);
    ConvertPatterns(world.state.patternImages, world.state.patterns);
    world.windows.screen.fill(QColor(16, 24, 64));
    QPainter(&world.windows.screen).drawImage(140, 80, DrawCapture(font, "152", CaptureLook()));
    world.state.settings.captureRegions[0] = {10, 10, 20, 20};
  }
  void WithPicker(const std::function<void(AreaPicker&)>& act, int area = 0) {
    InModal<AreaPicker>([&] { form.findChild<QPushButton*>(QStringLiteral("cmdPick(%1)").arg(area))->click(); }, act);
  }
  static QString Label(const QWidget& w, const char* name) { return w.findChild<QLabel*>(name)->text(); }
  // A drag from picture pixel `from` to `to`, with the mouse.
  static void Drag(AreaPicker& picker, QPoint from, QPoint to) {
    const int z = picker.Zoom();
    const auto at = [z](QPoint p) { return p * z + QPoint(z / 2, z / 2); };
    QTest::mousePress(picker.Canvas(), Qt::LeftButton, {}, at(from));
    QTest::mouseMove(picker.Canvas(), at((from + to) / 2));
    QTest::mouseMove(picker.Canvas(), at(to));
    QTest::mouseRelease(picker.Canvas(), Qt::LeftButton, {}, at(to));
  }

  DialogWorld world;
  FormInputCheck input{world.boxes};
  Form2 form{world.state, world.services, input, [] {}};
};

// Without the game a message and no picker; Cancel keeps the area; a drag
// shows the area and its reading, and OK stores it through the typed checks.
TEST_F(PickTest, CancelKeepsTheAreaAndOkStoresTheDragThroughTheTypedChecks) {
  form.show();
  form.findChild<QPushButton*>("cmdPick(1)")->click();
  const CaptureRegion& r = world.state.settings.captureRegions[0];
  world.windows.Add(QStringLiteral("MapleStory"), QRect(100, 50, 300, 200));
  WithPicker([](AreaPicker& picker) {
    Drag(picker, {40, 30}, {78, 42});
    picker.findChild<QPushButton*>("cmdCancel")->click();
  });
  EXPECT_EQ(std::tie(r.sx, r.sy, r.ex, r.ey), std::make_tuple(10, 10, 20, 20));
  WithPicker([](AreaPicker& picker) {
    EXPECT_EQ(picker.Selection(), QRect(10, 10, 20, 20)) << "starts at the current area";
    EXPECT_EQ(picker.Zoom(), kMaxPickZoom) << "close up on it";
    // At once, with no click first, and never to the scroll bars.
    ASSERT_EQ(picker.focusWidget(), picker.Canvas());
    QTest::keyClick(picker.focusWidget(), Qt::Key_Down);
    EXPECT_EQ(picker.Selection(), QRect(10, 11, 20, 20));
    QWheelEvent wheel(QPointF(100, 60), QPointF(100, 60), QPoint(), QPoint(0, -5 * 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(picker.Canvas(), &wheel);
    EXPECT_EQ(picker.Zoom(), 3);
    QTest::mouseClick(picker.Canvas(), Qt::LeftButton, {}, QPoint(250, 20));
    EXPECT_EQ(picker.Selection(), QRect(10, 11, 20, 20)) << "a click outside keeps it";
    Drag(picker, {3, 31}, {33, 43});  // too far left: start X 3 is below the limit
    EXPECT_EQ(Label(picker, "lblReadout"), QStringLiteral("始点 X: 3  Y: 31   サイズ X: 31  Y: 13"));
    EXPECT_EQ(Label(picker, "lblReading"), QStringLiteral("入力下限を超えています"));
    picker.findChild<QPushButton*>("cmdOk")->click();
    EXPECT_TRUE(picker.isVisible()) << "refused, still picking";
    // A rough drag, cutting the digits' top rows and the 1's first column,
    // is fitted to the number's line and says so.
    Drag(picker, {43, 33}, {78, 42});
    EXPECT_EQ(picker.Selection(), QRect(41, 30, 38, 13)) << "the 1's ink begins at column 42";
    EXPECT_EQ(Label(picker, "lblFit"), QStringLiteral("数字の行に合わせて範囲を直しました（上 +3、下 0、左 +2、右 0 ピクセル）。"));
    EXPECT_EQ(Label(picker, "lblReading"), QStringLiteral("→ 152"));
    Drag(picker, {40, 30}, {78, 42});
    EXPECT_EQ(Label(picker, "lblFit"), QString()) << "a drag that cuts nothing stays as dragged";
    EXPECT_EQ(Label(picker, "lblReading"), QStringLiteral("→ 152"));
    QTest::keyClick(picker.Canvas(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(picker.Canvas(), Qt::Key_Right);
    QTest::keyClick(picker.Canvas(), Qt::Key_Left);
    EXPECT_EQ(picker.Selection(), QRect(40, 30, 40, 13));
    picker.findChild<QPushButton*>("cmdOk")->click();
  });
  const std::vector<QString> texts{
      QStringLiteral("MapleStoryのウィンドウが見つかりません。\r\nゲームを起動してから選んでください。"),
      QStringLiteral("入力下限を超えています\r\n始点X: 3（5～1200）")};
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  EXPECT_EQ((std::vector<QString>{world.boxes.shown[0].text, world.boxes.shown[1].text}), texts);
  EXPECT_EQ(std::tie(r.sx, r.sy, r.ex, r.ey), std::make_tuple(40, 30, 40, 13));
  EXPECT_EQ(Label(form, "lblCapture_ex(0)"), QStringLiteral("40"));
  EXPECT_FALSE(form.findChild<QLabel*>("picCapture(0)")->pixmap().isNull()) << "the new area on show";
}

}  // namespace
