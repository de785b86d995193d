#pragma once
// A program folder with a system/ folder of defaults and, when asked, the
// player's own Pattern/ files; every picture has its own colours so that
// one can tell where a picture came from.

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include "persistence/pattern_store.h"
#include "support/temp_folder.h"

namespace pattern_files_fixture {

// A picture whose every pixel differs, seeded by `tone`.
inline QImage Picture(int width, int height, int tone) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) image.setPixel(x, y, qRgb((tone * 37 + x * 11) % 256, (tone * 5 + y * 19) % 256, (x * y + tone) % 256));
  }
  return image;
}

inline QImage DefaultPicture(int slot) { return Picture(slot < 20 ? 5 + slot % 3 : 4, 7, slot); }
inline QImage PlayerPicture(int slot) { return Picture(slot < 20 ? 6 : 3, 8, 100 + slot); }

inline bool SamePixels(const QImage& a, const QImage& b) {
  return a.size() == b.size() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

class PatternFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir().mkpath(folder.File("system"));
    for (int slot = 0; slot < kPatternSlots; ++slot) ASSERT_TRUE(DefaultPicture(slot).save(SystemFile(slot), "BMP"));
  }

  QString SystemFile(int slot) const { return folder.File("system/" + PatternFileName(slot)); }
  QString PlayerFile(int slot) const { return folder.File("Pattern/" + PatternFileName(slot)); }

  void WritePlayerFiles() {
    QDir().mkpath(folder.File("Pattern"));
    for (int slot = 0; slot < kPatternSlots; ++slot) ASSERT_TRUE(PlayerPicture(slot).save(PlayerFile(slot), "BMP"));
  }

  QImage LoadFile(const QString& path) const { return QImage(path, "BMP"); }

  QStringList BackupFolders() const {
    return QDir(folder.File("Pattern")).entryList({QStringLiteral("backup-*")}, QDir::Dirs);
  }

  PatternFilesResult Run(const QString& mode) { return PatternFiles(mode, images, set, folder.Path(), now); }

  TempFolder folder;
  PatternImages images;
  PatternSet set;
  QDateTime now{QDate(2026, 12, 5), QTime(14, 30, 0)};
};

}  // namespace pattern_files_fixture
