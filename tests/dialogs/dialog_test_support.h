#pragma once
// What the dialog tests share: a program folder with its services, a way
// to act inside a modal dialog while its exec() runs, and the widgets they
// drive.

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

#include "monitoring/program_state.h"
#include "persistence/debug_trace.h"
#include "persistence/text_file.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

struct DialogWorld {
  DialogWorld() : trace(folder.Path(), [this] { return clock.Now(); }) {
    state.programFolder = folder.Path();
    state.settings = Settings::Defaults(folder.Path());
  }
  // The trace written so far (Shift_JIS decoded).
  QString TraceText() const {
    QFile file(trace.TracePath());
    return file.open(QIODevice::ReadOnly) ? DecodeCp932(file.readAll()) : QString();
  }

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
inline void WhileModal(QDialog& dialog, std::function<void()> act) {
  QPointer<QDialog> watched(&dialog);
  QTimer::singleShot(0, [watched, act = std::move(act)] {
    act();
    if (watched && watched->isVisible()) watched->close();
  });
}

// Runs `act` on the modal dialog of type T that `open` opens, and closes it
// if `act` left it open.
template <typename T>
void InModal(const std::function<void()>& open, std::function<void(T&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  open();
}
