#pragma once
// The pattern editor (modal): the eleven patterns of one capture area are
// pasted from the clipboard, given a common height and saved.

#include <QDialog>
#include <functional>

#include "main_window/program_state.h"

class Form3 : public QDialog {
  Q_OBJECT
 public:
  // `patternsChanged` lets the main window show the new holders' pictures
  // after a save or an initialise.
  Form3(ProgramState& state, Services& services, std::function<void()> patternsChanged,
        QWidget* parent = nullptr);

  // Loads the area's current patterns into the slots (empty slots are
  // 41 x 41), shows the area number and runs the editor modally.
  void OpenForArea(int area);
};
