#include "dialog_test_support.h"

#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include "persistence/text_file.h"

DialogWorld::DialogWorld() : trace(folder.Path(), [this] { return clock.Now(); }) {
  state.programFolder = folder.Path();
  state.settings = Settings::Defaults(folder.Path());
}

QString DialogWorld::TraceText() const {
  QFile file(trace.TracePath());
  if (!file.open(QIODevice::ReadOnly)) return {};
  return DecodeCp932(file.readAll());
}

void WhileModal(QDialog& dialog, std::function<void()> act) {
  QPointer<QDialog> watched(&dialog);
  QTimer::singleShot(0, [watched, act = std::move(act)] {
    act();
    if (watched && watched->isVisible()) watched->close();
  });
}
