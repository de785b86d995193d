#include "persistence/file_system.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

const QChar kSeparator('/');

bool FolderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

// "name.*": any file called name with some extension, in name's folder.
bool AnyFileWithExtension(const QString& pathWithoutStar) {
  const QFileInfo pattern(pathWithoutStar);  // ends with "."
  const QString prefix = pattern.fileName();
  const QDir folder = pattern.dir();
  if (!folder.exists()) return false;
  const QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
  return std::any_of(files.cbegin(), files.cend(),
                     [&prefix](const QString& name) { return name.startsWith(prefix); });
}

}  // namespace

bool MakeFolders(const QString& path) {
  QString full = path;
  if (!full.endsWith(kSeparator)) full += kSeparator;
  // Each prefix up to and including a separator is one folder, outermost
  // first; "/" alone is the root and always exists.
  for (qsizetype end = full.indexOf(kSeparator); end >= 0; end = full.indexOf(kSeparator, end + 1)) {
    const QString folder = full.left(end + 1);
    if (FolderExists(folder)) continue;
    if (!QDir().mkdir(folder)) return false;
  }
  return true;
}

bool PathExists(const QString& path) {
  const qsizetype n = path.size();
  if (path.endsWith(QStringLiteral(".*"))) return AnyFileWithExtension(path.chopped(1));
  const bool namesFile = n >= 4 && path.at(n - 4) == QChar('.');
  if (namesFile) return QFileInfo(path).isFile();
  return FolderExists(path);
}

QString NearestFolder(const QString& path, const QString& programFolder) {
  // A typed trailing separator is taken at its word: the folder is used as
  // written, without looking at the disk. The root keeps its only "/".
  if (path.endsWith(kSeparator)) return path.size() == 1 ? path : path.chopped(1);
  // The longest leading part that names an existing folder, trying every
  // other length, as the file system spells it.
  for (qsizetype n = path.size(); n > 0; n -= 2) {
    const QString prefix = path.left(n);
    if (!FolderExists(prefix)) continue;
    const QFileInfo info(prefix);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
  }
  // Without drives there is no drive of the program folder to fall back on;
  // the root would put the logs in "//log/". The program folder itself is
  // the nearest folder that is surely there.
  return programFolder;
}
