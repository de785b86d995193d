#pragma once
// The state the whole program shares while it runs, owned by the main
// window and lent to the monitoring cycle and the dialogs, plus the services
// injected into all of them.

#include <QString>

#include "persistence/pattern_set.h"
#include "persistence/settings.h"

class Clock;
class DebugTrace;
class MessageBoxes;
class WindowSystem;

struct ProgramState {
  QString programFolder;         // folder of the executable, no trailing "/"
  Settings settings;
  PatternImages patternImages;   // what picPattern / picPatternDL hold
  PatternSet patterns;           // built from patternImages
  bool debugMode = false;        // never stored
  QString screenHeader;
  QString fileHeader;
};

struct Services {
  Clock& clock;
  WindowSystem& windows;
  MessageBoxes& boxes;
  DebugTrace& trace;
};
