#include "persistence/text_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "support/disk_limit.h"
#endif
#include "support/temp_folder.h"

// The writers' output is checked through the trace; here, a device that is
// always full: the bytes never reach the disk, and the logs must learn of it.
TEST(TextFile, AFullDiskIsReportedNotHidden) { EXPECT_FALSE(AppendLine("/dev/full", "x")); }

#ifndef _WIN32
TEST(TextFile, ALineTheDiskHasNoRoomForIsNotWrittenAtAll) {
  TempFolder tmp;
  const QString path = tmp.File("log.txt");
  ASSERT_TRUE(AppendLine(path, "12/06 20:00   152   1,234"));  // 27 bytes
  // Room for part of the next line only: it must not be left torn.
  const bool written = WithDiskLimit(40, [&] { return AppendLine(path, "12/06 20:06   152   2,345"); });
  EXPECT_FALSE(written);
  EXPECT_EQ(tmp.Read("log.txt"), QByteArray("12/06 20:00   152   1,234\r\n"));
  // Room again: the next line starts on a line of its own.
  ASSERT_TRUE(AppendLine(path, "12/06 20:26   152   3,456"));
  EXPECT_EQ(tmp.Read("log.txt"), QByteArray("12/06 20:00   152   1,234\r\n12/06 20:26   152   3,456\r\n"));
}
#endif
