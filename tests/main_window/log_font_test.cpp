// The log panel's font lines up the log's columns with the fonts this
// platform has (IPAGothic from scripts/setup on Linux).
#include "main_window/log_font.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

namespace {

TEST(LogFont, TheFirstListedFamilyInstalledIsTakenAsTheSystemSpellsIt) {
  const QStringList installed{"DejaVu Sans", "ipagothic", "Noto Sans Mono CJK JP"};
  EXPECT_EQ(ChooseLogFontFamily({"MS Gothic", "IPAGothic", "Noto Sans Mono CJK JP"}, installed), "ipagothic");
  EXPECT_EQ(ChooseLogFontFamily({"MS Gothic"}, installed), "");
}

TEST(LogFont, ThePanelsFontLinesUpTheColumnsAndAProportionalOneWouldNot) {
  ASSERT_TRUE(QFontDatabase::families().contains("IPAGothic")) << "fonts-ipafont-gothic is missing (run scripts/setup)";
  const QFont font = LogFont();
  EXPECT_EQ(font.family(), "IPAGothic");
  EXPECT_TRUE(AlignsLogColumns(font));
  // The proportional sibling: the check is what tells them apart.
  QFont proportional("IPAPGothic");
  proportional.setPointSize(9);
  EXPECT_FALSE(AlignsLogColumns(proportional));
}

}  // namespace
