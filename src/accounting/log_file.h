#pragma once
// The log files under saveFolder/log/: one per measurement
// (<saveFile>yyyymmddhhmm.txt) or one per month (<saveFile>yyyymm月.txt, the
// month of each line's date), TXT or CSV, Shift_JIS with CR LF, opened and
// closed for every line.

#include <QDateTime>
#include <QString>
#include <optional>

#include "persistence/notice.h"
#include "persistence/settings.h"

// The folder of the log files under the save folder, and how it is shown
// after the save folder: "/log/" on POSIX, "\log\" on Windows.
inline const QString kLogFolderName = QStringLiteral("log");
QString LogFolderShown();

// saveFolder/log/, with one separator whatever the save folder ends with.
QString LogFolder(const QString& saveFolder);

class LogFileWriter {
 public:
  // Mode "INIT" begins a new log file with `text` (the file header); an empty
  // mode appends `text` to the active file. A file that already holds lines
  // is never emptied: a month's file keeps its one header, a measurement's
  // file begun again in the same minute gets the header appended. A line
  // dated in a month whose file does not exist yet begins it with the
  // measurement's header. Returns a message to show when the file could not
  // be written; at most one per measurement.
  std::optional<Notice> WriteLogLine(const QString& text, const QString& mode, const Settings& settings,
                                     const QDateTime& now);

  // Whether the last call had a line for the active file that did not reach
  // it. The message comes once per measurement; this tells every time, so
  // the screen can mark each line that is missing from the file.
  bool LastLineLost() const { return lastLineLost_; }

  // No log file is active any more (Stop, lost game window).
  void Clear();

  // Lines go on into the file of `stamp` (a measurement continued after a
  // restart), begun with `header`; nothing is written now.
  void Resume(const QString& stamp, const QString& header) {
    logStamp_ = stamp;
    header_ = header;
    failureReported_ = false;
    headerLost_ = false;
  }

  // yyyymmddhhmm of the active file; empty when none is active.
  const QString& LogStamp() const { return logStamp_; }

  // The file a line dated `now` goes to; empty when none is active.
  QString CurrentPath(const Settings& settings, const QDateTime& now) const;
  // The file the active measurement began (its stamp's); empty when none is.
  QString BegunPath(const Settings& settings) const;

 private:
  QString logStamp_;
  QString header_;  // the active measurement's, for a month's file it begins
  bool failureReported_ = false;
  bool lastLineLost_ = false;
  bool headerLost_ = false;  // the active file's header did not reach it
};
