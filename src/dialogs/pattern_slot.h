#pragma once
// One slot of the pattern editor: shows its picture at its own size (an
// empty slot is 41 x 41) and answers a click.

#include <QImage>
#include <QWidget>

class PatternSlot : public QWidget {
  Q_OBJECT
 public:
  explicit PatternSlot(QWidget* parent = nullptr);

  // A null picture empties the slot. The slot resizes itself to the
  // picture, keeping its top-left corner.
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return picture_; }
  // The picture's size, or 41 x 41 when empty.
  QSize OuterSize() const;
  // A marked slot (still empty or holding a default) shows a red border.
  void SetMarked(bool marked);
  bool Marked() const { return marked_; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
  bool marked_ = false;
};
