#pragma once
// Screenshots of a tool's own windows for the documentation.

#include <QCoreApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <cstdio>

// Lets the window system map and decorate the window, then takes its frame
// from the screen (title bar included); the widget's own rendering when the
// screen cannot be read.
inline bool SnapWindow(QWidget& window, const QString& path) {
  // A window manager frames the window a little after it is mapped; wait
  // for the frame (at most 3 s), then a moment more for it to be drawn.
  for (int i = 0; i < 120 && window.frameGeometry().size() == window.size(); ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(25);
  }
  for (int i = 0; i < 20; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(25);
  }
  QPixmap picture;
  if (QScreen* screen = window.screen()) {
    const QRect frame = window.frameGeometry();
    picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  }
  if (picture.isNull()) picture = window.grab();
  const bool saved = picture.save(path, "PNG");
  std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
  return saved;
}
