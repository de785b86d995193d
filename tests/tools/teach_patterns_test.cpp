// The teaching tool on image files: a first run installs the defaults and
// teaches, later runs teach on top and read; exit codes say whether it
// worked.
#include <gtest/gtest.h>

#include <QProcess>

#include "support/digit_fonts.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

namespace {

struct ToolRun {
  int code;
  QString out;
  QString err;
};

ToolRun Tool(const QStringList& arguments) {
  QProcess tool;
  tool.start(QStringLiteral(TEACH_PATTERNS), arguments);
  EXPECT_TRUE(tool.waitForFinished(60000));
  return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()).trimmed(),
          QString::fromUtf8(tool.readAllStandardError()).trimmed()};
}

TEST(TeachPatterns, TeachesFromCapturesUntilEveryDigitReadsAndReadsOthers) {
  TempFolder folder;
  CaptureLook look;
  look.noise = 8;
  look.antiAlias = true;
  const auto save = [&](const QString& name, const QString& text) {
    ++look.seed;
    const QString path = folder.File(name);
    EXPECT_TRUE(DrawCapture(SmallFont(9), text, look).save(path));
    return path;
  };
  const QStringList area = {"--program-folder", folder.Path(), "--area", "2"};
  const QString first = save("first.png", "1,234,567");
  const QString untaught = save("untaught.png", "9,081");

  const ToolRun taught = Tool(area + QStringList{"--capture", first, "--number", "1,234,567"});
  EXPECT_EQ(taught.code, 0) << taught.err.toStdString();
  EXPECT_TRUE(taught.out.endsWith("not taught from a capture yet: 0 8 9")) << taught.out.toStdString();
  const ToolRun refused = Tool(area + QStringList{"--read", untaught});
  EXPECT_EQ(std::make_tuple(refused.code, refused.out), std::make_tuple(1, QStringLiteral("認識NG")));
  EXPECT_TRUE(refused.err.contains(QStringLiteral("最初の数字の前に読めない文字"))) << refused.err.toStdString();

  // Typed without the separator the counter shows.
  EXPECT_EQ(Tool(area + QStringList{"--capture", untaught, "--number", "9081"}).code, 0);
  const ToolRun read = Tool(area + QStringList{"--read", save("other.png", "98,076")});
  EXPECT_EQ(std::make_tuple(read.code, read.out), std::make_tuple(0, QStringLiteral("98076")));

  const ToolRun wrong = Tool(area + QStringList{"--capture", first, "--number", "1,234,5a7"});
  EXPECT_EQ(wrong.code, 1);
  EXPECT_EQ(Tool({"--area", "3", "--read", first}).code, 2);
  EXPECT_EQ(Tool(area + QStringList{"--read", folder.File("missing.png")}).code, 2);
}

}  // namespace
