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

#include "dialogs/pattern_slot.h"
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

// The delivered defaults in system/ (20 and 21 are the delimiters), and the
// holders as start-up leaves them.
inline void InstallDefaults(DialogWorld& world, const std::function<QImage(int)>& picture) {
  QDir(world.folder.Path()).mkpath("system");
  for (int i = 0; i < 22; ++i) {
    const QString file = i < 20 ? QString::asprintf("Pattern%02d.bmp", i) : QStringLiteral("PatternDel%1.bmp").arg(i - 20);
    picture(i).save(world.folder.File("system/" + file), "BMP");
    (i < 20 ? world.state.patternImages.digits[i] : world.state.patternImages.delimiters[i - 20]) = picture(i);
  }
}

// A slot of the pattern editor: 0 to 9 the digits, 10 the delimiter.
inline PatternSlot* SlotOf(const QWidget& editor, int slot) {
  return editor.findChild<PatternSlot*>(slot < 10 ? QString::asprintf("picPattern(%d)", slot) : "picPatternDL");
}
