#include "persistence/save_folder_text.h"

#include <QDir>

#include "base/cp932.h"

namespace {

const QString kHere = QStringLiteral(".");

bool StartsRelative(const QString& text) {
  return text.startsWith(QStringLiteral("./")) || text.startsWith(QStringLiteral(".\\"));
}

}  // namespace

std::optional<QString> StoredSaveFolder(const QString& folder, const QString& programFolder) {
  // A folder that reads back as itself keeps its old form; only what the
  // file could not hold changes. A "." form typed by the user would be
  // read as relative, so it is not left as it is either.
  if (FitsCp932(folder) && folder != kHere && !StartsRelative(folder)) return folder;
  const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(folder));
  const QString program = QDir::cleanPath(QDir::fromNativeSeparators(programFolder));
  if (clean == program) return kHere;
  const QString relative = QDir(program).relativeFilePath(clean);
  // Another drive (Windows) has no path from the program folder.
  if (relative.isEmpty() || QDir::isAbsolutePath(relative)) return std::nullopt;
  const QString stored = QDir::toNativeSeparators(QStringLiteral("./") + relative);
  if (!FitsCp932(stored)) return std::nullopt;
  return stored;
}

QString ResolvedSaveFolder(const QString& stored, const QString& programFolder) {
  // Shown to the player as a folder of the platform, like every other one.
  if (stored == kHere) return QDir::toNativeSeparators(programFolder);
  if (!StartsRelative(stored)) return stored;
  return QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(programFolder) + QStringLiteral("/") +
                                                  QDir::fromNativeSeparators(stored.mid(2))));
}
