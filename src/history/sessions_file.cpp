#include "history/sessions_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "accounting/log_file.h"
#include "history/text_lines.h"
#include "persistence/file_system.h"
#include "persistence/text_file.h"

namespace {

Notice CannotWrite(const QString& path) {
  return Notice{QCoreApplication::translate("HistoryTexts", "測定記録に書き込めません。\r\n%1")
                    .arg(QDir::toNativeSeparators(path)),
                QCoreApplication::translate("HistoryTexts", "測定記録書込みエラー")};
}

// Whether the file's last byte ends a line: a line added after a file that
// another program saved without a final line end must not be glued to it.
bool EndsWithLineEnd(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return true;
  file.seek(file.size() - 1);
  char last = 0;
  return file.getChar(&last) && (last == '\n' || last == '\r');
}

}  // namespace

QString SessionsFilePath(const QString& saveFolder) { return LogFolder(saveFolder) + kSessionsFileName; }

std::optional<Notice> AppendRecords(const QString& saveFolder, const std::vector<MeasurementRecord>& records) {
  const QString path = SessionsFilePath(saveFolder);
  if (records.empty()) return std::nullopt;
  const QString folder = LogFolder(saveFolder);
  if (!PathExists(folder) && !MakeFolders(folder)) return CannotWrite(path);

  const QFileInfo info(path);
  QStringList lines;
  if (!info.exists() || info.size() == 0) {
    lines << RecordHeader();
  } else if (!EndsWithLineEnd(path)) {
    lines << QString();
  }
  for (const MeasurementRecord& record : records) lines << RecordLine(record);
  // One append of every line: AppendLine cuts the file back to where it was
  // when any byte of it fails.
  if (!AppendLine(path, lines.join(QStringLiteral("\r\n")))) return CannotWrite(path);
  return std::nullopt;
}

SessionsRead ReadSessionsFile(const QString& saveFolder) {
  SessionsRead read;
  const QString path = SessionsFilePath(saveFolder);
  const QFileInfo info(path);
  if (!info.exists()) return read;
  read.exists = true;
  QFile file(path);
  if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
    read.problem = Notice{QCoreApplication::translate("HistoryTexts", "測定記録を読み込めません。\r\n%1")
                              .arg(QDir::toNativeSeparators(path)),
                          QCoreApplication::translate("HistoryTexts", "測定記録読込みエラー")};
    return read;
  }
  const QStringList lines = DecodedLines(file.readAll());
  read.records.reserve(static_cast<std::size_t>(lines.size()));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i].trimmed().isEmpty()) continue;
    if (std::optional<MeasurementRecord> record = ParseRecordLine(lines[i])) {
      read.records.push_back(std::move(*record));
    } else if (i != 0) {  // the header is no record either, and no damage
      ++read.damagedLines;
    }
  }
  return read;
}
