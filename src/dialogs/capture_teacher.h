#pragma once
// Teaching the digits of one area from a capture (modal, opened by the
// pattern editor): the player types the number seen in the capture, the
// cells of its digits and of the delimiter are proposed on the enlarged
// capture, a boundary can be moved by a pixel, and the accepted cells go to
// the editor's slots.

#include <QDialog>
#include <QImage>
#include <array>

#include "recognition/digit_segmentation.h"

class MessageBoxes;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TeacherCapture;
class TeacherCells;

// Slot pictures as the editor numbers them: 0 … 9 the digits, 10 the
// delimiter; null where the capture showed nothing for that slot.
using TaughtCells = std::array<QImage, 11>;

class CaptureTeacher : public QDialog {
  Q_OBJECT
 public:
  explicit CaptureTeacher(MessageBoxes& boxes, QWidget* parent = nullptr);

  // Starts over with `capture` of area `area`; `pitchHint` and `known` as
  // FindDigitCells takes them.
  void Prepare(const QImage& capture, int area, int pitchHint, const KnownDigits& known);

  // After Accept: the cells, and the number they were taught from.
  const TaughtCells& Accepted() const { return accepted_; }
  const QString& Typed() const { return cells_.digits; }

  // The proposal on show (no cells when there is none).
  const DigitCells& Proposal() const { return cells_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FindClicked();
  void MoveClicked(int step);
  void AcceptClicked();
  void ShowProposal();
  void SelectBoundary(int boundary);

  MessageBoxes& boxes_;
  QImage capture_;
  int pitchHint_ = 0;
  KnownDigits known_;
  DigitCells cells_;
  TaughtCells accepted_;

  TeacherCapture* picCapture_ = nullptr;
  TeacherCells* picCells_ = nullptr;
  QLabel* lblArea_ = nullptr;
  QLineEdit* txtNumber_ = nullptr;
  QPushButton* cmdFind_ = nullptr;
  QSpinBox* spnBoundary_ = nullptr;
  QPushButton* cmdLeft_ = nullptr;
  QPushButton* cmdRight_ = nullptr;
  QLabel* lblCells_ = nullptr;
  QPushButton* cmdAccept_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};

// What the player typed, with full-width digits (as an input method gives
// them) made plain and blanks and separators (",") dropped.
QString PlainDigits(const QString& typed);

// The message for a refusal; empty for none.
QString RefusalText(SegmentationRefusal refusal, const QString& typed);
