#include "program_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>

#include "persistence/config_file.h"
#include "persistence/text_file.h"

namespace {

const QRect kGameOuter(100, 50, 800, 650);

QImage LoadPattern(const QString& name) {
  return QImage(QStringLiteral(TALLYMETER_SYSTEM_DIR "/") + name).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

void InstallDefaultPatterns(const QString& programFolder, const QString& subfolder) {
  QDir().mkpath(programFolder + "/" + subfolder);
  const QDir source(QStringLiteral(TALLYMETER_SYSTEM_DIR));
  for (const QString& name : source.entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
    QFile::copy(source.filePath(name), programFolder + "/" + subfolder + "/" + name);
  }
}

void PaintCounter(QImage& screen, QPoint origin, int area, const QString& digits) {
  std::array<QImage, 10> glyphs;
  int cellWidth = 0;
  for (int d = 0; d < 10; ++d) {
    glyphs[d] = LoadPattern(QStringLiteral("Pattern%1.bmp").arg(area * 10 + d, 2, 10, QLatin1Char('0')));
    cellWidth = std::max(cellWidth, glyphs[d].width());
  }
  const QImage delimiter = LoadPattern(QStringLiteral("PatternDel%1.bmp").arg(area));
  cellWidth = std::max(cellWidth, delimiter.width());
  // The counter's background, wide enough for the whole capture region.
  for (int y = 0; y < glyphs[0].height(); ++y) {
    for (int x = 0; x < 120; ++x) screen.setPixel(origin.x() + x, origin.y() + y, glyphs[0].pixel(0, 0));
  }
  int left = origin.x();
  const auto draw = [&](const QImage& glyph) {
    for (int y = 0; y < glyph.height(); ++y) {
      for (int x = 0; x < glyph.width(); ++x) screen.setPixel(left + x, origin.y() + y, glyph.pixel(x, y));
    }
    left += cellWidth - 1;
  };
  for (const QChar c : digits) draw(glyphs[c.digitValue()]);
  draw(delimiter);
}

void SaveSettings(const QString& programFolder, const Settings& settings) {
  Settings copy = settings;
  ASSERT_FALSE(ConfigFile(QStringLiteral("SAVE"), copy, programFolder));
}

void ProgramTest::RemovePlayerPatterns() { QDir(folder_.File(QStringLiteral("Pattern"))).removeRecursively(); }

void ProgramTest::Run() {
  form().menuRun_Click();
  pendingSeconds_ = 0;
}

ProgramTest::ProgramTest()
    : trace_(folder_.Path(), [this] { return clock_.Now(); }), services_{clock_, windows_, boxes_, trace_} {
  InstallDefaultPatterns(folder_.Path(), QStringLiteral("system"));
  InstallDefaultPatterns(folder_.Path(), QStringLiteral("Pattern"));
  windows_.screen.fill(Qt::black);
}

ProgramTest::~ProgramTest() = default;

Form1& ProgramTest::Start() {
  program_ = StartProgram(services_, folder_.Path());
  EXPECT_FALSE(program_.ended);
  return *program_.form;
}

WindowId ProgramTest::OpenGame(const QString& level, const QString& exp, bool inFront) {
  if (game_ == 0) game_ = windows_.Add(QStringLiteral("MapleStory"), kGameOuter);
  const Settings defaults = Settings::Defaults(folder_.Path());
  PaintCounter(windows_.screen, kGameOuter.topLeft() + QPoint(defaults.captureRegions[0].sx, defaults.captureRegions[0].sy),
               0, level);
  PaintCounter(windows_.screen, kGameOuter.topLeft() + QPoint(defaults.captureRegions[1].sx, defaults.captureRegions[1].sy),
               1, exp);
  if (inFront) windows_.foreground = game_;
  return game_;
}

void ProgramTest::CloseGame() {
  windows_.Remove(game_);
  if (windows_.foreground == game_) windows_.foreground = 0;
  game_ = 0;
}

void ProgramTest::RunFor(int seconds) {
  for (int s = 0; s < seconds; ++s) {
    clock_.AdvanceSeconds(1);
    if (++pendingSeconds_ == 10) {
      pendingSeconds_ = 0;
      if (form().IsMonitoring()) form().timCaptureInterval_Timer();
    }
  }
}

QStringList ProgramTest::TraceMessages() const {
  static const QRegularExpression stamp(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d{1,2}:\\d\\d:\\d\\d"));
  QStringList messages;
  const QString text = DecodeCp932(folder_.Read(QStringLiteral("debug.txt")));
  for (QString line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
    messages << line.remove(stamp);
  }
  return messages;
}

int ProgramTest::CountTrace(const QString& message) const { return static_cast<int>(TraceMessages().count(message)); }

QAction* ProgramTest::Action(const char* name) { return form().findChild<QAction*>(QString::fromLatin1(name)); }

QLabel* ProgramTest::Label(const QString& name) { return form().findChild<QLabel*>(name); }
