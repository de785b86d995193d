#pragma once
// The options dialog (modeless): shows the settings and edits them in place.

#include <QDialog>
#include <functional>

#include "main_window/program_state.h"

class FormInputCheck;

class Form2 : public QDialog {
  Q_OBJECT
 public:
  // `debugModeChanged` lays the main window out for state.debugMode (the main
  // window owns that layout); the dialog writes the trace line itself.
  Form2(ProgramState& state, Services& services, FormInputCheck& inputCheck,
        std::function<void()> debugModeChanged, QWidget* parent = nullptr);
};
