#pragma once
// Picking a capture area by dragging on a picture of the game window
// (modal, opened by the options dialog): zoom with the wheel up to 8x,
// scroll, a read-out of start and size in the settings' coordinates (the
// window's outer corner, frame included), arrow keys to nudge by a pixel
// (with Shift: the size), and the current patterns' reading of the area.
// It opens close up on the current area, or on the window's lower part
// when none was picked yet, with the arrow keys working at once.

#include <QDialog>
#include <QImage>

#include "persistence/pattern_set.h"
#include "persistence/settings.h"

class MessageBoxes;
class PickCanvas;
class QLabel;
class QPushButton;
class QScrollArea;

class AreaPicker : public QDialog {
  Q_OBJECT
 public:
  AreaPicker(MessageBoxes& boxes, const PatternSet& patterns, QWidget* parent = nullptr);

  // `window` the whole outer rectangle of the game window as it is now;
  // the selection starts at `current` (kept inside the picture).
  void Prepare(const QImage& window, int area, const CaptureRegion& current);

  QRect Selection() const;
  CaptureRegion Picked() const;
  int Zoom() const;
  // The canvas the mouse works on; picture pixel p lies at p * Zoom().
  QWidget* Canvas() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool Nudge(QKeyEvent* event);  // arrows: true when taken
  void ApplyOpeningView(QSize viewport);
  void SelectionChanged();
  // A drag just ended: fitted to the number's text line, and the player
  // told how.
  void FitDrag();
  void ZoomChanged(int zoom, QPointF anchorPicture, QPoint anchorViewport);
  void OkClicked();

  MessageBoxes& boxes_;
  const PatternSet& patterns_;
  int area_ = 0;
  CaptureRegion current_;
  bool picked_ = false;
  PickCanvas* canvas_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QLabel* lblFit_ = nullptr;  // what fitting the last drag did
  QLabel* lblReadout_ = nullptr;
  QLabel* lblReading_ = nullptr;
  QLabel* lblZoom_ = nullptr;
  QPushButton* cmdOk_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};
