#include "persistence/text_file.h"

#include <gtest/gtest.h>

// The writers' output is checked through the trace; here, a device that is
// always full: the bytes never reach the disk, and the logs must learn of it.
TEST(TextFile, AFullDiskIsReportedNotHidden) { EXPECT_FALSE(AppendLine("/dev/full", "x")); }
