// The configuration file as a player's editor (or a damaged disk) may leave
// it: any bytes. Read through the program's own entry, the settings either
// come from the file or are the defaults, and what was read (or written in
// its place) reads back the same; a file the program writes from settings it
// read reads back as those settings.
#include <cstdint>

#include "base/cp932.h"
#include "fuzz_folder.h"
#include "persistence/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  if (const std::optional<Settings> parsed = ParseConfigFileText(DecodeCp932(bytes))) {
    const QString text = ConfigFileText(*parsed);
    if (FitsCp932(text)) Require(ParseConfigFileText(text) == parsed, "settings written do not read back");
  }

  const QString& folder = FuzzFolder();
  if (!WriteWhole(ConfigFilePath(folder), bytes)) return 0;
  Settings first;
  const std::optional<Notice> firstNotice = ConfigFile(QStringLiteral("READ"), first, folder);
  Settings second;
  const std::optional<Notice> secondNotice = ConfigFile(QStringLiteral("READ"), second, folder);
  // After the first read the file holds settings (its own, or the defaults
  // written in its place), unless that save failed and the first read said so.
  if (!firstNotice || !secondNotice) {
    Require(!secondNotice, "a file read or saved without a word is unreadable the next time");
    Require(first == second, "the second read gives other settings than the first");
  }
  return 0;
}
