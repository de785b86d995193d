#pragma once
// The debug trace: debug.txt in the program folder, the previous run's trace
// kept as debugBackUp.txt. Every line is "date time" + message, CR LF,
// Shift_JIS. A trace that cannot be written is ignored: it must never
// disturb the program.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// The Japanese general date form the program is written for:
// yyyy/MM/dd H:mm:ss (2026/12/06 5:58:46).
QString GeneralDateText(const QDateTime& when);

class DebugTrace {
 public:
  DebugTrace(QString programFolder, std::function<QDateTime()> now);

  // The raw operation: writes `text` and CR LF. Mode "INIT" starts a new trace
  // (the old one becomes the backup; when it cannot, the old trace is kept and
  // appended to); anything else appends. A debug.txt that is not a plain file
  // is left alone.
  void Write(const QString& text, const QString& mode = QString()) const;

  // Date and time, then `message` (which begins with a blank), appended.
  void Event(const QString& message) const;

  // Date and time, then `message`, starting a new trace; the held notes
  // follow it. The previous trace is kept as the backup, at most its last
  // mebibyte.
  void Begin(const QString& message) const;

  // A note found before the trace is begun (the interface language is chosen
  // before any window exists), written as an event right after Begin.
  void HoldUntilBegin(const QString& message);

  QString TracePath() const;
  QString BackupPath() const;

 private:
  QString Stamp() const;

  QString programFolder_;
  std::function<QDateTime()> now_;
  mutable QStringList held_;
};
