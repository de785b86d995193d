#include "persistence/text_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

TEST(TextFile, EncodesShiftJisAsWindowsToolsExpect) {
  EXPECT_EQ(EncodeCp932(QStringLiteral("給与明細")), QByteArray::fromHex("8b8b975e96be8dd7"));
  // The halfwidth dots of the trace texts are single bytes.
  EXPECT_EQ(EncodeCp932(QStringLiteral("･･･")), QByteArray::fromHex("a5a5a5"));
  // Backslash and tilde stay ASCII (not yen sign or overline).
  EXPECT_EQ(EncodeCp932(QStringLiteral("C:\\~")), QByteArray("C:\\~"));
  const QString mixed = QStringLiteral("一ヶ月(m秒) ,  False ");
  EXPECT_EQ(DecodeCp932(EncodeCp932(mixed)), mixed);
  EXPECT_EQ(Cp932Length(QStringLiteral("給与明細a")), 9);
  EXPECT_EQ(Cp932Length(QString()), 0);
  EXPECT_TRUE(FitsCp932(QStringLiteral("C:\\ﾒｰﾀｰ/給与明細～")));
  EXPECT_FALSE(FitsCp932(QStringLiteral("/home/josé")));
  EXPECT_FALSE(FitsCp932(QStringLiteral("log 😀")));
}

TEST(TextFile, AppendLineAddsCrLfLinesAndWriteNewLineReplaces) {
  TempFolder tmp;
  const QString path = tmp.File("log.txt");
  ASSERT_TRUE(AppendLine(path, QStringLiteral("一")));
  ASSERT_TRUE(AppendLine(path, QStringLiteral("two")));
  EXPECT_EQ(tmp.Read("log.txt"), QByteArray::fromHex("88ea") + "\r\ntwo\r\n");
  ASSERT_TRUE(WriteNewLine(path, QStringLiteral("new")));
  EXPECT_EQ(tmp.Read("log.txt"), QByteArray("new\r\n"));
}

TEST(TextFile, FailuresAreReportedNotHidden) {
  TempFolder tmp;
  tmp.Write("afile", "x");
  EXPECT_FALSE(AppendLine(tmp.File("afile/sub.txt"), QStringLiteral("x")));
  EXPECT_FALSE(WriteNewLine(tmp.File("afile/sub.txt"), QStringLiteral("x")));
  EXPECT_FALSE(AppendLine(tmp.Path(), QStringLiteral("x")));  // a folder
  // A device that is always full: the bytes never reach the disk.
  EXPECT_FALSE(AppendLine(QStringLiteral("/dev/full"), QStringLiteral("x")));
  EXPECT_FALSE(WriteNewLine(QStringLiteral("/dev/full"), QStringLiteral("x")));
}
