#include "persistence/debug_trace.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

#include "persistence/file_system.h"
#include "persistence/text_file.h"

namespace {

const QString kInitMode = QStringLiteral("INIT");

// The previous run's trace is kept for reading after a crash, and its last
// part is what tells: a trace grown over weeks would otherwise be copied
// whole at every start, delaying the first window and filling the disk.
constexpr qint64 kBackupLimit = qint64{1} << 20;

// The last kBackupLimit bytes of `trace` from a line's start (a cut inside a
// line could split a Shift_JIS character) into `backup`.
bool KeepTail(const QString& trace, const QString& backup) {
  QFile from(trace);
  if (!from.open(QIODevice::ReadOnly)) return false;
  const qint64 size = from.size();
  const bool cut = size > kBackupLimit;
  if (cut && !from.seek(size - kBackupLimit)) return false;
  QByteArray tail = from.read(kBackupLimit);
  if (cut) tail.remove(0, tail.indexOf('\n') + 1);
  QFile to(backup);
  return to.open(QIODevice::WriteOnly | QIODevice::Truncate) && to.write(tail) == tail.size() && to.flush();
}

}  // namespace

QString GeneralDateText(const QDateTime& when) { return when.toString(QStringLiteral("yyyy/MM/dd H:mm:ss")); }

DebugTrace::DebugTrace(QString programFolder, std::function<QDateTime()> now)
    : programFolder_(std::move(programFolder)), now_(std::move(now)) {}

QString DebugTrace::TracePath() const { return programFolder_ + QStringLiteral("/debug.txt"); }

QString DebugTrace::BackupPath() const { return programFolder_ + QStringLiteral("/debugBackUp.txt"); }

// Every failure is ignored on purpose: the trace is a help for finding
// faults and must never stop or disturb the program that writes it.
void DebugTrace::Write(const QString& text, const QString& mode) const {
  const QString trace = TracePath();
  const QFileInfo info(trace);
  // Only a plain file is written: opening a pipe or a device could block.
  if (info.exists() && !info.isFile()) return;
  const bool traceExists = PathExists(trace);
  if (mode != kInitMode && traceExists) {
    AppendLine(trace, text);
    return;
  }
  if (traceExists) {
    const QString backup = BackupPath();
    QFile::remove(backup);
    // The previous run's trace is what one reads after a crash: when it
    // cannot be kept as the backup, the new run goes on after it instead.
    if (!KeepTail(trace, backup)) {
      AppendLine(trace, text);
      return;
    }
  }
  WriteNewLine(trace, text);
}

QString DebugTrace::Stamp() const {
  return GeneralDateText(now_ ? now_() : QDateTime::currentDateTime());
}

void DebugTrace::Event(const QString& message) const { Write(Stamp() + message); }

void DebugTrace::Begin(const QString& message) const {
  Write(Stamp() + message, kInitMode);
  for (const QString& note : held_) Event(note);
  held_.clear();
}

void DebugTrace::HoldUntilBegin(const QString& message) { held_.append(message); }
