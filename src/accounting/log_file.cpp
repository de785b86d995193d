#include "accounting/log_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "persistence/file_system.h"
#include "persistence/text_file.h"

namespace {

QString LogFolder(const Settings& settings) { return LogFolder(settings.saveFolder); }

Notice CannotWrite(const QString& path) {
  return Notice{QCoreApplication::translate("LogFile", "ログファイルに書き込めません。\r\n%1")
                    .arg(QDir::toNativeSeparators(path)),
                QCoreApplication::translate("LogFile", "ログファイル書込みエラー")};
}

}  // namespace

QString LogFolderShown() { return QDir::toNativeSeparators(QLatin1Char('/') + kLogFolderName + QLatin1Char('/')); }

QString LogFolder(const QString& saveFolder) {
  const bool ended = saveFolder.endsWith(QLatin1Char('/')) || saveFolder.endsWith(QLatin1Char('\\'));
  return saveFolder + (ended ? QString() : QStringLiteral("/")) + kLogFolderName + QLatin1Char('/');
}

std::optional<Notice> LogFileWriter::WriteLogLine(const QString& text, const QString& mode, const Settings& settings,
                                                  const QDateTime& now) {
  lastLineLost_ = false;
  const bool init = mode == QLatin1String("INIT");
  if (!init && !mode.isEmpty()) return std::nullopt;
  if (init) {
    logStamp_ = now.toString(QStringLiteral("yyyyMMddhhmm"));
    header_ = text;
    failureReported_ = false;
  }
  if (logStamp_.isEmpty()) return std::nullopt;

  const QString folder = LogFolder(settings);
  const QString path = CurrentPath(settings, now);
  bool written = false;
  if (PathExists(folder) || MakeFolders(folder)) {
    // The month's file goes on under its first header. A file that already
    // holds lines is never replaced: a second measurement begun within the
    // same minute continues the first one's file instead of wiping it.
    if (init && settings.saveDistance && PathExists(path)) return std::nullopt;
    // A file without its header gets it before its next line: a measurement
    // that runs into a new month begins that month's file as its first
    // reading began the last one, and a header that did not reach the disk
    // (a full disk leaves an empty file behind) is written once there is room.
    const QFileInfo file(path);
    const bool headerMissing = !init && !header_.isEmpty() &&
                               (headerLost_ || (file.exists() ? file.size() == 0 : settings.saveDistance));
    const bool headed = !headerMissing || AppendLine(path, header_);
    if (headerMissing && headed) headerLost_ = false;
    written = headed && AppendLine(path, text);
  }
  if (init) headerLost_ = !written;
  if (written) return std::nullopt;
  lastLineLost_ = true;

  // One message per measurement: a capture every few minutes must not stack
  // up message boxes while the disk stays full.
  if (failureReported_) return std::nullopt;
  failureReported_ = true;
  return CannotWrite(path);
}

void LogFileWriter::Clear() {
  logStamp_.clear();
  headerLost_ = false;
  header_.clear();
  failureReported_ = false;
}

QString LogFileWriter::CurrentPath(const Settings& settings, const QDateTime& now) const {
  if (logStamp_.isEmpty()) return QString();
  const QString name = settings.saveDistance ? now.toString(QStringLiteral("yyyyMM")) + QStringLiteral("月") : logStamp_;
  const QString extension = settings.saveCsv ? QStringLiteral(".csv") : QStringLiteral(".txt");
  return LogFolder(settings) + settings.saveFile + name + extension;
}

QString LogFileWriter::BegunPath(const Settings& settings) const {
  return CurrentPath(settings, QDateTime::fromString(logStamp_, QStringLiteral("yyyyMMddhhmm")));
}
