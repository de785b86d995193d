#include "persistence/file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

#ifdef _WIN32
namespace {

// "X:" alone or "X:" followed by a separator.
bool IsDriveLetter(const QString& path) {
  return path.size() >= 2 && path.at(0).isLetter() && path.at(0).unicode() < 128 && path.at(1) == QChar(':') &&
         (path.size() == 2 || (path.size() == 3 && path.at(2) == kSeparator));
}

// Where the folders below a network share begin in `full` ("//server/share/…",
// separators already "/"): just after the share, or -1 when the path names
// no share or the share is not there. A share is never made.
qsizetype BelowShare(QString& full) {
  while (full.size() > 2 && full.at(2) == kSeparator) full.remove(2, 1);
  const qsizetype serverEnd = full.indexOf(kSeparator, 2);
  const qsizetype shareEnd = serverEnd < 0 ? -1 : full.indexOf(kSeparator, serverEnd + 1);
  if (shareEnd < 0 || !FolderExists(full.left(shareEnd + 1))) return -1;
  return shareEnd;
}

}  // namespace
#endif

bool MakeFolders(const QString& path) {
  // Windows takes "\" and "/" alike; the scan below knows only "/".
  QString full = QDir::fromNativeSeparators(path);
  if (!full.endsWith(kSeparator)) full += kSeparator;
  qsizetype first = full.indexOf(kSeparator);
#ifdef _WIN32
  if (full.startsWith(QStringLiteral("//"))) {
    const qsizetype share = BelowShare(full);
    if (share < 0) return false;
    first = full.indexOf(kSeparator, share + 1);
  }
#endif
  // Each prefix up to and including a separator is one folder, outermost
  // first; "/" alone is the root and always exists.
  for (qsizetype end = first; end >= 0; end = full.indexOf(kSeparator, end + 1)) {
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

#ifdef _WIN32
QString NearestFolder(const QString& typed, const QString& programFolder) {
  // Shown to the player and stored as typed there: with "\\".
  const QString path = QDir::fromNativeSeparators(typed);
  if (path.endsWith(kSeparator)) return QDir::toNativeSeparators(path.chopped(1));
  // A drive is taken as it stands, unless there is no such drive.
  if (IsDriveLetter(path) && (path.size() <= 2 || FolderExists(path))) return QDir::toNativeSeparators(path);
  for (qsizetype n = path.size(); n > 0; n -= 2) {
    const QString prefix = path.left(n);
    // "X" or "X:" alone would name the current folder of that drive.
    if (prefix.size() <= 2 || !FolderExists(prefix)) continue;
    const QFileInfo info(prefix);
    const QString canonical = info.canonicalFilePath();
    return QDir::toNativeSeparators(canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical);
  }
  // The drive of the program folder: "X:", or the share it lies on.
  QString program = QDir::fromNativeSeparators(programFolder);
  if (program.size() >= 2 && program.at(1) == QChar(':')) return program.left(2);
  if (program.startsWith(QStringLiteral("//"))) {
    if (const qsizetype share = BelowShare(program); share >= 0) return QDir::toNativeSeparators(program.left(share));
  }
  return QStringLiteral("C:");
}
#else
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
#endif

bool FileNameUsable(const QString& name) {
  if (name == QStringLiteral(".") || name.contains(QStringLiteral(".."))) return false;
  static const QString kRefused = QStringLiteral("/\\:<>\"|?*");
  return std::none_of(name.cbegin(), name.cend(),
                      [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F || kRefused.contains(c); });
}

bool ReplaceableFile(const QString& path) {
  const QFileInfo info(path);
  // A link whose target is missing counts as nothing there: the file is made
  // where it points, as an editor would.
  return !info.exists() || info.isFile();
}

bool ReplaceFile(const QString& path, const QByteArray& bytes) {
  if (!ReplaceableFile(path)) return false;
  {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // The explicit flush matters: commit() alone puts a file in place even
    // when the buffered bytes could not all be written (full disk).
    if (file.write(bytes) != bytes.size() || !file.flush()) {
      file.cancelWriting();
      return false;
    }
    if (!file.commit()) return false;
  }
  // What is there now, not what was handed over: a file system may take
  // bytes and keep others.
  QFile written(path);
  if (!written.open(QIODevice::ReadOnly)) return false;
  return written.read(bytes.size() + 1) == bytes;
}
