#pragma once
// Everything the program does once its QApplication exists, on the clock it
// is given: the window system (or none without a display), the message
// boxes, the trace, the single-instance test and the main window, then the
// event loop. The program's own main() gives it the system clock; tests may
// start the same program on a clock of their own.

class Clock;
class QApplication;

int RunProgram(QApplication& app, Clock& clock);
