#include "main_window/startup.h"

#include "monitoring/message_boxes.h"
#include "main_window/main_texts.h"

StartedProgram StartProgram(Services& services, const QString& programFolder) {
  StartedProgram program;
  program.lock = InstanceLock::Acquire(programFolder);
  if (!program.lock) {
    // Before the trace is touched: the running copy's trace stays intact.
    const Notice notice = AlreadyRunningNotice();
    services.boxes.Inform(notice.text, notice.title);
    program.ended = true;
    program.exitCode = 1;
    return program;
  }
  program.form = std::make_unique<Form1>(services, programFolder);
  if (!program.form->Load()) {
    program.form->hide();
    program.ended = true;
    program.exitCode = 1;
  }
  return program;
}
