#include "history/sessions_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>

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

// What ends the file's last line, from its last two bytes: a line added
// after a file that another program saved without a final line end, or
// whose CR LF a full disk cut in half, must not be glued to it. A LF alone
// ends a line already (a program that writes LF saved the file).
QString MissingLineEnd(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return {};
  file.seek(std::max<qint64>(0, file.size() - 2));
  const QByteArray last = file.read(2);
  if (last.endsWith('\n')) return {};
  return last.endsWith('\r') ? QStringLiteral("\n") : QStringLiteral("\r\n");
}

// Whether the line's record ended by `sinceText` by its end as the program
// writes it ("yyyy/MM/dd hh:mm:ss", second after the start's), which
// orders as text as it does in time: a reading for the last days passes
// over years of older lines without reading them as records. Lines written
// otherwise are read.
bool EndedBy(const QString& line, const QString& sinceText) {
  constexpr qsizetype kDate = 19;
  if (line.size() <= 2 * kDate + 1 || line[kDate] != u',' || line[2 * kDate + 1] != u',') return false;
  const QStringView end = QStringView(line).mid(kDate + 1, kDate);
  static constexpr char16_t kShape[] = u"0000/00/00 00:00:00";
  for (qsizetype i = 0; i < kDate; ++i) {
    if (kShape[i] == u'0' ? !(end[i] >= u'0' && end[i] <= u'9') : end[i] != QChar(kShape[i])) return false;
  }
  return end.compare(sinceText) <= 0;
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
  if (!info.exists() || info.size() == 0) lines << RecordHeader();
  for (const MeasurementRecord& record : records) lines << RecordLine(record);
  // One append of every line: AppendLine cuts the file back to where it was
  // when any byte of it fails.
  if (!AppendLine(path, MissingLineEnd(path) + lines.join(QStringLiteral("\r\n")))) return CannotWrite(path);
  return std::nullopt;
}

SessionsRead ReadSessionsFile(const QString& saveFolder, const ReadProgress& progress, const QDateTime& endedAfter) {
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
  const qint64 since = endedAfter.isValid() ? WallClockMs(endedAfter) : std::numeric_limits<qint64>::min();
  const QString sinceText = endedAfter.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
  TextLineReader lines(file);
  for (qint64 i = 0; const std::optional<QString> line = lines.Next(); ++i) {
    if (progress && !progress(file.pos(), file.size())) {
      read.stopped = true;
      break;
    }
    if (line->trimmed().isEmpty() || (endedAfter.isValid() && EndedBy(*line, sinceText))) continue;
    if (std::optional<MeasurementRecord> record = ParseRecordLine(*line)) {
      if (!endedAfter.isValid() || WallClockMs(record->end) > since) read.records.push_back(std::move(*record));
    } else if (i != 0) {  // the header is no record either, and no damage
      ++read.damagedLines;
    }
  }
  return read;
}
