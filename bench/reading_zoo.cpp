// Teaching and reading on the zoo of layouts (tools/layout_zoo): for every
// layout, teaches the area from 3 captures of random numbers through the
// same class as the pattern editor's check and the teaching tool, reads 20
// other numbers, and for the level climbs from a random level to 300 with
// the timed reading's rule. Reports how many layouts were taught (a capture
// saved: the teacher saves only what reads back as typed), readings right,
// refused (認識NG) and WRONG, in all and by layout feature; a reading whose
// number shows a digit no capture taught can only be refused, and is
// counted apart.
//
//   reading_zoo [--area 1|2] [--layouts N] [--first-seed S] [--climb-levels N]
//               [--list-failures K] [--save-failures DIR]
//
// Exit 0 when no reading gave a wrong number, 1 when one did, 2 when it
// could not run.
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "layout_zoo.h"
#include "recognition/taught_folder.h"

namespace {

constexpr int kMostCaptures = 3;
constexpr int kReadings = 20;
constexpr int kTopLevel = 300;

QTextStream& Out() {
  static QTextStream out(stdout);
  return out;
}

enum class Verdict { Right, Refused, Wrong };

struct Capture {
  QString shown;
  QImage image;
};

struct LayoutResult {
  zoo::LayoutSpec layout;
  int capturesNeeded = 0;  // the first capture saved; 0: none of kMostCaptures
  int right = 0, refused = 0, refusedUntaught = 0, wrong = 0;
  int readable = 0;  // readings whose digits were all taught
  bool climbed = true;
  int climbPassed = 0, climbFailed = 0, climbWrong = 0;
  QStringList events;
  QString climbNote;  // the climb's first level not read right
  std::vector<std::pair<QString, QImage>> shots;  // the captures that failed, for --save-failures

  bool Failed() const { return capturesNeeded == 0 || refused + wrong > 0 || !climbed; }
};

// Every teaching saves pattern files: a folder in memory where there is
// one spares the disk's flushes.
QString TemporaryFolderTemplate() {
  const bool shm = qEnvironmentVariableIsEmpty("TMPDIR") && QFileInfo(QStringLiteral("/dev/shm")).isWritable();
  return (shm ? QStringLiteral("/dev/shm") : QDir::tempPath()) + QStringLiteral("/reading_zoo-XXXXXX");
}

Verdict Judge(const AreaReading& reading, std::uint64_t truth) {
  if (!reading.failure.isEmpty() || reading.caption == QStringLiteral("認識NG")) return Verdict::Refused;
  QString digits = reading.digits;
  while (digits.size() > 1 && digits.startsWith(QLatin1Char('0'))) digits.remove(0, 1);
  return digits == QString::number(truth) ? Verdict::Right : Verdict::Wrong;
}

class LayoutRun {
 public:
  LayoutRun(const zoo::LayoutSpec& layout, QString defaults, int climbLevels, bool keepShots)
      : random_(layout.seed * 2654435761U + static_cast<std::uint32_t>(layout.area)),
        defaults_(std::move(defaults)),
        climbLevels_(climbLevels),
        keepShots_(keepShots) {
    result_.layout = layout;
  }

  LayoutResult Run() {
    TeachAndRead();
    if (result_.layout.area == 0) Climb();
    return result_;
  }

 private:
  Capture Next(std::uint64_t value) {
    const QString shown = zoo::ShownNumber(result_.layout, value);
    return {shown, zoo::RenderCapture(result_.layout, shown, random_())};
  }

  void Keep(const QString& what, const QImage& image) {
    if (keepShots_) result_.shots.emplace_back(what, image);
  }

  Verdict ReadOne(TaughtFolder& folder, std::uint64_t value, const QString& what) {
    const Capture c = Next(value);
    const AreaReading reading = folder.Read(result_.layout.area, c.image);
    const Verdict verdict = Judge(reading, value);
    if (verdict != Verdict::Right) {
      result_.events << QStringLiteral("%1 %2 read as %3 (%4)").arg(what, c.shown, reading.caption, reading.failure.simplified());
      Keep(QStringLiteral("%1_%2_%3").arg(what, QString::number(value), verdict == Verdict::Wrong ? "WRONG" : "NG"),
           c.image);
    }
    return verdict;
  }

  bool TeachOne(TaughtFolder& folder, std::uint64_t value, int n) {
    const Capture c = Next(value);
    const TeachOutcome outcome = folder.Teach(result_.layout.area, c.image, c.shown);
    if (outcome.saved) {
      for (const QChar d : QString::number(value)) taught_.insert(d);
      Keep(QStringLiteral("taught%1_%2").arg(n).arg(value), c.image);
      result_.events << QStringLiteral("teach %1 %2 saved: %3").arg(n).arg(c.shown, outcome.cells);
    } else {
      result_.events << QStringLiteral("teach %1 %2 failed: %3").arg(n).arg(c.shown, outcome.problems.join(" / ").simplified());
      Keep(QStringLiteral("teach%1_%2").arg(n).arg(value), c.image);
    }
    return outcome.saved;
  }

  void TeachAndRead() {
    QTemporaryDir dir(TemporaryFolderTemplate());
    TaughtFolder folder(dir.path(), defaults_);
    QStringList problems;
    if (!folder.Load(problems)) {
      result_.events << QStringLiteral("load: ") + problems.join(" / ");
      return;
    }
    // All three are taught, as a player teaches the captures at hand: a
    // random number seldom shows all ten digits.
    for (int n = 1; n <= kMostCaptures; ++n) {
      if (TeachOne(folder, zoo::RandomValue(result_.layout, random_), n) && result_.capturesNeeded == 0) {
        result_.capturesNeeded = n;
      }
    }
    for (int i = 0; i < kReadings; ++i) {
      const std::uint64_t value = zoo::RandomValue(result_.layout, random_);
      const QString digits = QString::number(value);
      const bool readable = std::all_of(digits.begin(), digits.end(), [this](QChar d) { return taught_.count(d) > 0; });
      result_.readable += readable ? 1 : 0;
      switch (ReadOne(folder, value, QStringLiteral("read"))) {
        case Verdict::Right: ++result_.right; break;
        case Verdict::Wrong: ++result_.wrong; break;
        case Verdict::Refused:
          ++result_.refused;
          result_.refusedUntaught += readable ? 0 : 1;
          break;
      }
    }
  }

  // Taught from one capture at a random level, then every level up to 300
  // (or climbLevels_ levels) read after the last one read right, as the
  // timed reading would.
  void Climb() {
    QTemporaryDir dir(TemporaryFolderTemplate());
    TaughtFolder folder(dir.path(), defaults_);
    QStringList problems;
    const int start = std::uniform_int_distribution<int>(1, kTopLevel - 1)(random_);
    if (!folder.Load(problems) || !TeachOne(folder, static_cast<std::uint64_t>(start), 0)) {
      result_.climbed = false;
      result_.climbFailed = std::min(kTopLevel, start + climbLevels_) - start;
      return;
    }
    int last = start;
    const int top = std::min(kTopLevel, start + climbLevels_);
    for (int level = start + 1; level <= top; ++level) {
      const Capture c = Next(static_cast<std::uint64_t>(level));
      // A level lesson follows only a capture that read its level.
      const AreaReading reading = folder.ReadLevelAfter(level == last + 1 ? last : 0, c.image);
      const Verdict verdict = Judge(reading, static_cast<std::uint64_t>(level));
      switch (verdict) {
        case Verdict::Right:
          ++result_.climbPassed;
          last = level;
          continue;
        case Verdict::Refused: ++result_.climbFailed; break;
        case Verdict::Wrong: ++result_.climbWrong; break;
      }
      if (result_.climbFailed + result_.climbWrong == 1 || (verdict == Verdict::Wrong && result_.climbWrong == 1)) {
        result_.climbNote += QStringLiteral("%1climb from %2: %3 read as %4 (%5)")
                                 .arg(result_.climbNote.isEmpty() ? QString() : QStringLiteral("\n  "))
                                 .arg(start)
                                 .arg(level)
                                 .arg(reading.caption, reading.failure.simplified());
        Keep(QStringLiteral("climb_%1").arg(level), c.image);
      }
    }
    result_.climbed = result_.climbFailed + result_.climbWrong == 0;
  }

  std::mt19937 random_;
  QString defaults_;
  int climbLevels_;
  bool keepShots_;
  LayoutResult result_;
  std::set<QChar> taught_;
};

struct Tally {
  int layouts = 0, taught = 0, right = 0, refused = 0, wrong = 0, climbs = 0, climbed = 0, climbWrong = 0;
  void Add(const LayoutResult& r) {
    ++layouts;
    taught += r.capturesNeeded > 0 ? 1 : 0;
    right += r.right;
    refused += r.refused;
    wrong += r.wrong;
    climbs += r.layout.area == 0 ? 1 : 0;
    climbed += r.layout.area == 0 && r.climbed ? 1 : 0;
    climbWrong += r.climbWrong;
  }
  QString Row() const {
    const double readings = std::max(1, right + refused + wrong);
    QString row = QStringLiteral("%1 layouts, taught %2%, readings right %3% 認識NG %4% WRONG %5%")
                      .arg(layouts, 4)
                      .arg(100.0 * taught / layouts, 5, 'f', 1)
                      .arg(100.0 * right / readings, 5, 'f', 1)
                      .arg(100.0 * refused / readings, 5, 'f', 1)
                      .arg(100.0 * wrong / readings, 5, 'f', 1);
    if (climbs > 0) row += QStringLiteral(", climbs passed %1/%2, climb levels WRONG %3").arg(climbed).arg(climbs).arg(climbWrong);
    return row;
  }
};

int Percentile(std::vector<int> values, int percent) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, values.size() * static_cast<std::size_t>(percent) / 100)];
}

QString CapturesText(int n) { return n > kMostCaptures ? QStringLiteral(">%1").arg(kMostCaptures) : QString::number(n); }

void Report(int area, const std::vector<LayoutResult>& results) {
  Tally all;
  std::vector<int> needed;
  int refusedUntaught = 0, readable = 0, climbPassed = 0, climbFailed = 0, climbWrong = 0, readWrong = 0;
  for (const LayoutResult& r : results) {
    all.Add(r);
    needed.push_back(r.capturesNeeded == 0 ? kMostCaptures + 1 : r.capturesNeeded);
    refusedUntaught += r.refusedUntaught;
    readable += r.readable;
    climbPassed += r.climbPassed;
    climbFailed += r.climbFailed;
    climbWrong += r.climbWrong;
    readWrong += r.wrong;
  }
  QTextStream& out = Out();
  out << "== area " << area + 1 << (area == 0 ? " (level)" : " (experience)") << ": " << results.size()
      << " layouts, " << zoo::DigitFamilies().size() << " font families\n";
  out << "layouts taught within " << kMostCaptures << " captures: " << all.taught << " ("
      << QString::number(100.0 * all.taught / std::max<std::size_t>(1, results.size()), 'f', 1) << "%)\n";
  out << "captures needed: median " << CapturesText(Percentile(needed, 50)) << ", 95th percentile "
      << CapturesText(Percentile(needed, 95)) << "\n";
  out << "readings: " << all.right << " right, " << all.refused << " 認識NG (" << refusedUntaught
      << " of them show a digit no teaching capture showed), " << readWrong << " WRONG\n";
  out << "readings of numbers whose digits were all taught: " << all.right << " of " << readable << " right ("
      << QString::number(100.0 * all.right / std::max(1, readable), 'f', 1) << "%)\n";
  if (area == 0) {
    out << "climbs to " << kTopLevel << ": " << all.climbed << " of " << all.climbs << " passed every level; levels "
        << climbPassed << " passed, " << climbFailed << " 認識NG, " << climbWrong << " WRONG\n";
  }
  using Group = QString (zoo::LayoutSpec::*)() const;
  const std::vector<std::pair<QString, Group>> features{
      {QStringLiteral("scale"), &zoo::LayoutSpec::ScaleGroup},   {QStringLiteral("edge"), &zoo::LayoutSpec::EdgeGroup},
      {QStringLiteral("before"), &zoo::LayoutSpec::PrefixGroup}, {QStringLiteral("after"), &zoo::LayoutSpec::SuffixGroup},
      {QStringLiteral("background"), &zoo::LayoutSpec::BackgroundGroup},
      {QStringLiteral("style"), &zoo::LayoutSpec::StyleGroup},
      {QStringLiteral("glyph positions"), &zoo::LayoutSpec::PositionGroup}};
  auto table = [&](const QString& title, auto key) {
    std::map<QString, Tally> rows;
    for (const LayoutResult& r : results) rows[key(r.layout)].Add(r);
    out << "-- by " << title << "\n";
    for (const auto& [name, tally] : rows) out << "  " << name.leftJustified(24) << tally.Row() << "\n";
  };
  table(QStringLiteral("font family"), [](const zoo::LayoutSpec& s) { return s.family; });
  table(QStringLiteral("pixel size"), [](const zoo::LayoutSpec& s) {
    const int low = 8 + (s.pixelSize - 8) / 4 * 4;
    return QStringLiteral("%1-%2 px").arg(low, 2).arg(low + 3, 2);
  });
  for (const auto& feature : features) {
    const Group group = feature.second;
    table(feature.first, [group](const zoo::LayoutSpec& s) { return (s.*group)(); });
  }
  out.flush();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Teaches and reads the layout zoo, and reports."));
  parser.addHelpOption();
  const QCommandLineOption areaOption(QStringLiteral("area"), QStringLiteral("1 (level) or 2 (experience); both if unset."),
                                      QStringLiteral("N"));
  const QCommandLineOption layoutsOption(QStringLiteral("layouts"), QStringLiteral("Layouts per area."),
                                         QStringLiteral("N"), QStringLiteral("600"));
  const QCommandLineOption seedOption(QStringLiteral("first-seed"), QStringLiteral("First layout seed."),
                                      QStringLiteral("S"), QStringLiteral("1"));
  const QCommandLineOption climbOption(QStringLiteral("climb-levels"),
                                       QStringLiteral("Levels each climb reads at most (up to 300)."),
                                       QStringLiteral("N"), QString::number(kTopLevel));
  const QCommandLineOption listOption(QStringLiteral("list-failures"),
                                      QStringLiteral("Describe the first K failing layouts."), QStringLiteral("K"),
                                      QStringLiteral("0"));
  const QCommandLineOption saveOption(QStringLiteral("save-failures"),
                                      QStringLiteral("Save the failing captures of those layouts (or of the first 20)."),
                                      QStringLiteral("DIR"));
  parser.addOptions({areaOption, layoutsOption, seedOption, climbOption, listOption, saveOption});
  parser.process(app);
  std::vector<int> areas{0, 1};
  if (parser.isSet(areaOption)) areas = {parser.value(areaOption).toInt() - 1};
  const int layouts = parser.value(layoutsOption).toInt();
  const auto firstSeed = parser.value(seedOption).toUInt();
  const int listCount = parser.value(listOption).toInt();
  const int climbLevels = parser.value(climbOption).toInt();
  const bool save = parser.isSet(saveOption);
  const int keepCount = save && listCount == 0 ? 20 : listCount;
  if (layouts <= 0 || areas.front() < 0 || areas.front() > 1 || zoo::DigitFamilies().isEmpty()) {
    QTextStream(stderr) << "reading_zoo: nothing to measure (check --area, --layouts and the installed fonts)\n";
    return 2;
  }
  const QDir saveDir(parser.value(saveOption));
  if (save) QDir().mkpath(saveDir.path());
  int wrong = 0;
  for (const int area : areas) {
    std::vector<LayoutResult> results;
    int listed = 0;
    for (int i = 0; i < layouts; ++i) {
      const zoo::LayoutSpec layout = zoo::MakeLayout(area, firstSeed + static_cast<std::uint32_t>(i));
      LayoutResult r = LayoutRun(layout, QStringLiteral(TALLYMETER_SYSTEM_FOLDER), climbLevels, listed < keepCount).Run();
      wrong += r.wrong + r.climbWrong;
      if (r.Failed() && listed < keepCount) {
        ++listed;
        if (listCount > 0) {
          // The first few events, and every wrong number after them.
          QStringList lines = r.events.mid(0, 8);
          for (qsizetype e = 8; e < r.events.size(); ++e) {
            if (!r.events[e].contains(QStringLiteral("認識NG")) && !r.events[e].startsWith(QStringLiteral("teach"))) {
              lines << r.events[e];
            }
          }
          if (!r.climbNote.isEmpty()) lines << r.climbNote;
          Out() << layout.Describe() << "\n  taught with " << CapturesText(r.capturesNeeded == 0 ? 4 : r.capturesNeeded)
                << " captures; readings right " << r.right << "; " << lines.join(QStringLiteral("\n  ")) << "\n";
        }
        for (const auto& [what, image] : r.shots) {
          if (save) image.save(saveDir.filePath(QStringLiteral("area%1_seed%2_%3.png").arg(area + 1).arg(layout.seed).arg(what)));
        }
      }
      r.shots.clear();
      results.push_back(std::move(r));
    }
    Report(area, results);
  }
  Out() << "wrong numbers in all: " << wrong << Qt::endl;
  return wrong == 0 ? 0 : 1;
}
