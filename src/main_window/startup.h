#pragma once
// The program's start: the single-instance test, then the main window's
// load sequence. Kept apart from main() so tests can start the program on
// fakes in a folder of their own.

#include <QString>
#include <memory>

#include "main_window/form1.h"
#include "main_window/instance_lock.h"

struct StartedProgram {
  // The lock outlives the window: it is released only when the program ends.
  std::unique_ptr<InstanceLock> lock;
  std::unique_ptr<Form1> form;
  // Set when the program must end now with `exitCode` (a copy already runs,
  // or the patterns cannot be used).
  bool ended = false;
  int exitCode = 0;
};

StartedProgram StartProgram(Services& services, const QString& programFolder);
