#include "persistence/debug_trace.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

#include "persistence/file_system.h"
#include "persistence/text_file.h"

namespace {

const QString kInitMode = QStringLiteral("INIT");

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
    if (!QFile::copy(trace, backup)) {
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

void DebugTrace::Begin(const QString& message) const { Write(Stamp() + message, kInitMode); }
