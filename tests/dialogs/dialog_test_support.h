#pragma once
// What the dialog tests share: a program folder with its services, and a
// way to act inside a modal dialog while its exec() runs.

#include <QString>
#include <functional>

#include "main_window/program_state.h"
#include "persistence/debug_trace.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

class QDialog;

struct DialogWorld {
  DialogWorld();
  // The trace written so far (Shift_JIS decoded).
  QString TraceText() const;

  TempFolder folder;
  FakeClock clock;
  FakeWindowSystem windows;
  RecordingMessageBoxes boxes;
  DebugTrace trace;
  Services services{clock, windows, boxes, trace};
  ProgramState state;
};

// Runs `act` as soon as the next modal loop is running; afterwards closes
// `dialog` if `act` left it open, so that a failing test cannot hang.
void WhileModal(QDialog& dialog, std::function<void()> act);
