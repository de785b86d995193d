// The capture step with the game as players keep it: behind other windows
// but in sight, resized since its areas were picked, or grabbed black or
// frozen.
#include <QDir>

#include "capture/capture_notices.h"
#include "cycle_fixture.h"

namespace {

constexpr auto kLevel = "190";  // level 190 needs 1,312,399,850
const QRect kGame(100, 50, 800, 650);

class SightTest : public CycleTest {
 protected:
  bool Read() const { return seen_.captions == std::array<QString, 2>{"190", "1234567890"}; }
  // The one log file's text, or nothing.
  QString LogFileText() const {
    const QStringList files = QDir(folder_.File(QStringLiteral("log"))).entryList(QDir::Files);
    return files.size() == 1 ? DecodeCp932(folder_.Read(QStringLiteral("log/") + files.first())) : QString();
  }
  // Each case from a new desktop: monitoring with captures every minute, the
  // game shown and its first capture taken.
  void ReadFromAFreshStart() {
    windows_ = FakeWindowSystem();
    game_ = 0;
    boxes_.shown.clear();
    StartReading([](Settings& s) { s.captureInterval = 1; });
  }
  // The counters painted where the areas lie on a game window at `outer`,
  // `shift` away from where they were picked.
  void PaintCounters(const QRect& outer, QPoint shift, const QString& exp) {
    windows_.screen.fill(Qt::black);
    const auto& regions = settings().captureRegions;
    const QPoint at = outer.topLeft() + shift;
    PaintCounter(windows_.screen, at + QPoint(regions[0].sx, regions[0].sy), 0, kLevel);
    PaintCounter(windows_.screen, at + QPoint(regions[1].sx, regions[1].sy), 1, exp);
  }
};

TEST_F(SightTest, AGameBehindIsReadWhileBothAreasAreInSightAndTheStateLineSaysWhyNot) {
  // The areas lie at (135, 626) 44x13 and (563, 620) 90x9 on the screen.
  struct Case {
    const char* what;
    bool option;
    std::optional<QRect> other;  // a window in front, with the focus
    bool seeThrough;
    bool minimised;
    bool read;
    const char* state;  // how the state line begins
  };
  const Case cases[] = {
      {"covering the level area", true, QRect(120, 600, 100, 60), false, false, false, "ゲームが他のウィンドウに隠れています"},
      {"beside the game", true, QRect(920, 50, 300, 400), false, false, true, "監視中"},
      {"over the game, away from the areas", true, QRect(150, 100, 600, 450), false, false, true, "監視中"},
      {"an overlay over all of it", true, kGame, true, false, true, "監視中"},
      {"the focus elsewhere, nothing over it", true, std::nullopt, false, false, true, "監視中"},
      {"minimised", true, std::nullopt, false, true, false, "ゲームが最小化されています"},
      {"option off, beside the game", false, QRect(920, 50, 300, 400), false, false, false, "ゲームが前面にありません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    windows_ = FakeWindowSystem();
    windows_.screen.fill(Qt::black);
    game_ = 0;
    Start([&](Settings& s) { s.readWhenVisible = c.option; });
    OpenGame(kLevel, "1234567890", /*inFront=*/false);
    windows_.windows.at(game_).minimised = c.minimised;
    if (c.other) {
      const WindowId other = windows_.Add(QStringLiteral("Other"), *c.other);
      windows_.windows.at(other).seeThrough = c.seeThrough;
      windows_.foreground = other;
    }
    Run();
    RunFor(20);
    EXPECT_EQ(Read(), c.read);
    EXPECT_EQ(windows_.grabs.empty(), !c.read) << "nothing of a game out of sight is grabbed";
    EXPECT_TRUE(cycle().StateText().startsWith(QString::fromUtf8(c.state))) << cycle().StateText().toStdString();
    cycle().Stop();
    seen_.captions = {};
  }
}

TEST_F(SightTest, AreasFollowAResizedWindowAndItsFirstReadingIsToldOnceOrTheRepickAsked) {
  const QRect taller(100, 50, 800, 700);
  struct Case {
    const char* what;
    QPoint countersMoved;  // where the game drew its counters after the change
    int movedLines;
    int boxes;
  };
  const Case cases[] = {
      {"the status bar kept to the bottom", QPoint(0, 50), 1, 0},
      {"the counters went elsewhere", QPoint(0, 0), 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReadFromAFreshStart();
    ASSERT_TRUE(Read());
    EXPECT_EQ(QSize(settings().areasWindowWidth, settings().areasWindowHeight), kGame.size())
        << "a file without the size takes the window's";

    windows_.Place(game_, taller);
    PaintCounters(taller, c.countersMoved, "1234600000");
    RunFor(5 * 60);
    EXPECT_EQ(std::tuple(seen_.LogLines(AreasMovedLogText(kGame.size(), taller.size())),
                         std::ranges::count(boxes_.shown, QStringLiteral("キャプチャ"), &Notice::title)),
              std::tuple(c.movedLines, c.boxes));
    EXPECT_EQ(c.boxes ? boxes_.shown.front().text : QString(), c.boxes ? AreasUnreadableText(taller.size()) : QString());
    EXPECT_FALSE(LogFileText().contains(QStringLiteral("キャプチャ領域"))) << "log files never change";
    EXPECT_EQ(seen_.captions[0], c.movedLines ? QStringLiteral("190") : QStringLiteral("認識NG"));
    cycle().Stop();
  }
}

TEST_F(SightTest, GrabsThatShowNoGameAreToldOnceAndTheStateLineSaysSoUntilTheGameShows) {
  struct Case {
    const char* what;
    bool rising;  // the counters rose steadily before the grabs went wrong
    GrabTrouble trouble;
  };
  const Case cases[] = {
      {"one colour", false, GrabTrouble::Uniform},
      {"frozen after a rise", true, GrabTrouble::Frozen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReadFromAFreshStart();
    if (c.rising) {
      // One gain and then the same picture is a player away: not told.
      PaintCounters(kGame, QPoint(), "1234600000");
      RunFor(5 * 60);
      EXPECT_TRUE(boxes_.shown.empty());
      PaintCounters(kGame, QPoint(), "1234650000");
      RunFor(60);
      PaintCounters(kGame, QPoint(), "1234690000");
    } else {
      windows_.screen.fill(Qt::black);
    }
    RunFor(60);
    EXPECT_TRUE(cycle().StateText().startsWith(QStringLiteral("監視中"))) << "not yet";
    RunFor(10 * 60);
    EXPECT_EQ(std::tuple(seen_.LogLines(GrabTroubleLogText(c.trouble)), boxes_.shown, cycle().StateText()),
              std::tuple(1, std::vector<Notice>{{GrabTroubleAlertText(c.trouble), "キャプチャ"}},
                         GrabTroubleStateText(c.trouble)));

    PaintCounters(kGame, QPoint(), "1234700000");
    RunFor(60);
    EXPECT_TRUE(cycle().StateText().startsWith(QStringLiteral("監視中")));
    cycle().Stop();
  }
}

TEST_F(SightTest, OnlyAChangeOfTheWayThePicturesCameIsTraced) {
  StartReading([](Settings& s) { s.captureInterval = 1; });
  for (const GrabWay way : {GrabWay::Screen, GrabWay::WindowContents, GrabWay::WindowContents, GrabWay::Screen}) {
    windows_.grabWay = way;
    RunFor(60);
  }
  EXPECT_EQ(TraceMessages().filter(QStringLiteral(" Capture Via ")),
            (QStringList{GrabWayTraceText(GrabWay::WindowContents), GrabWayTraceText(GrabWay::Screen)}));
}

}  // namespace
