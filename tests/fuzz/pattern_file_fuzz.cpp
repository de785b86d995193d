// A pattern file as a damaged disk or another program may leave it: any
// bytes in Pattern00.bmp, the other 21 player's files intact, read through
// the pattern store's own entry. Without defaults (system/ is empty) a file
// that is not taken sends the store to the missing defaults and it says the
// program must end; a file that is taken gives a set the data model holds.
#include <QDir>
#include <QFile>
#include <cstdint>

#include "fuzz_folder.h"
#include "persistence/pattern_store.h"

namespace {

// The program folder: the delivered patterns as the player's, no defaults.
const QString& ProgramFolder() {
  static const QString folder = [] {
    const QString f = FuzzFolder();
    QDir().mkpath(f + QStringLiteral("/Pattern"));
    QDir().mkpath(f + QStringLiteral("/system"));
    for (int slot = 1; slot < kPatternSlots; ++slot) {
      const QString name = PatternFileName(slot);
      QFile::copy(QStringLiteral(TALLYMETER_SOURCE_DIR "/system/") + name, f + QStringLiteral("/Pattern/") + name);
    }
    return f;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString& folder = ProgramFolder();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (!WriteWhole(folder + QStringLiteral("/Pattern/") + PatternFileName(0), bytes)) return 0;

  PatternImages images;
  PatternSet set;
  const PatternFilesResult result = PatternFiles(QStringLiteral("READ"), images, set, folder);
  if (result.endProgram) return 0;
  Require(result.notices.empty(), "a set was taken with a message");
  for (std::size_t a = 0; a < 2; ++a) {
    int widest = 0;
    for (std::size_t g = 0; g < 11; ++g) {
      const Pattern& p = g < 10 ? set.digitPatterns[a * 10 + g] : set.delimiterPatterns[a];
      Require(UsablePattern(p), "a pattern of no size or larger than the largest");
      widest = std::max(widest, p.width);
    }
    Require(set.cellWidth[a] == widest, "the cell width is not the widest pattern's");
  }
  return 0;
}
