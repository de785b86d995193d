#pragma once
// Teaching the digits of one area from a capture (modal, opened by the
// pattern editor): the player types the number seen in the capture (with
// its separators, if any), the cells of its digits and of the delimiter
// (when one follows) are proposed on the enlarged capture, with a note when
// another layout fitted about as well; an edge can be moved by a pixel, and
// the accepted cells go to the editor's slots.

#include <QDialog>
#include <QImage>
#include <array>

#include "recognition/area_teaching.h"

class MessageBoxes;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TeacherCapture;
class TeacherCells;

class CaptureTeacher : public QDialog {
  Q_OBJECT
 public:
  explicit CaptureTeacher(MessageBoxes& boxes, QWidget* parent = nullptr);

  // Starts over with `capture` of area `area`; `known` as FindDigitCells
  // takes it.
  void Prepare(const QImage& capture, int area, const KnownDigits& known, const AreaLayout& areaLayout = {});

  // After Accept: the capture taught from, the number as typed and the
  // cells accepted.
  TaughtCapture Accepted() const { return {capture_, typed_, cells_}; }

  // The proposal on show (no cells when there is none), and whether another
  // layout fitted about as well.
  const DigitCells& Proposal() const { return cells_; }
  bool Uncertain() const { return uncertain_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FindClicked();
  void MoveClicked(int step);
  void AcceptClicked();
  void ShowProposal();
  void SelectEdge(int edge);

  MessageBoxes& boxes_;
  QImage capture_;
  int area_ = 1;
  KnownDigits known_;
  AreaLayout layout_;  // what earlier captures taught of the area's layout
  DigitCells cells_;
  QString typed_;
  bool uncertain_ = false;

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
