#pragma once
// The pattern editor (modal): the eleven patterns of one capture area are
// pasted from the clipboard, given a common height and saved.

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <vector>

#include "monitoring/program_state.h"
#include "recognition/area_teaching.h"

class PatternSlot;
class QLabel;
class QPushButton;
struct PatternFilesResult;

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

  // The first half of OpenForArea: everything but running the editor.
  void LoadArea(int area);

  // Opens the editor on `area` with the teacher already on `capture` (a
  // reading that failed), as キャプチャから登録… would be on it.
  void OpenToTeach(int area, const QImage& capture);

  // What ends the program when the pattern store says it cannot go on
  // (the default patterns are missing). Quits the application unless
  // replaced.
  void SetEndProgram(std::function<void()> endProgram) { endProgram_ = std::move(endProgram); }

  int Area() const { return area_; }

  // The caption of the delimiter's slot, wherever a slot is named.
  static QString DelimiterCaption() { return tr("デリミタ"); }

  // Where "キャプチャから登録…" takes the area's current capture from (the
  // main window's last capture of that area).
  void SetCaptureSource(std::function<QImage(int area)> source) { captureSource_ = std::move(source); }

  // Which of the eleven slots still hold nothing or a delivered default
  // (as their origin says).
  std::array<bool, 11> Unfinished() const;
  const AreaOrigins& Origins() const { return origins_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void SlotClicked(int slot);
  void SaveClicked();
  void InitialClicked();
  void BackClicked();
  // Shows the store's messages; true when the program has to end.
  bool ReportAndMaybeEnd(const PatternFilesResult& result);
  void ShowMainWindow();
  // Teaching from a capture (form3_teach.cpp).
  void TeachClicked();
  void TeachFrom(const QImage& capture);
  void Open(int area, const QImage& teachFrom);
  void UpdateMarks();
  // After a save: whether every capture taught since the editor opened
  // reads as the number typed for it; says so, and what is likely to
  // blame, when one does not.
  bool TaughtCapturesRead(const PatternImages& images);
  AreaPictures SlotPictures() const;

  ProgramState& state_;
  Services& services_;
  std::function<void()> patternsChanged_;
  std::function<void()> endProgram_;
  int area_ = 0;
  std::function<QImage(int)> captureSource_;
  std::vector<TaughtCapture> taught_;
  AreaOrigins origins_{};  // where each slot's picture came from
  AreaLooks looks_{};      // the digits' further looks, of the pictures in the slots
  AreaLayout layout_;      // what the captures taught of the area's layout

  std::array<PatternSlot*, 11> slots_{};  // picPattern(0..9), then picPatternDL
  QLabel* lblPatternNo_ = nullptr;
  QPushButton* cmdInitial_ = nullptr;
  QPushButton* cmdSave_ = nullptr;
  QPushButton* cmdEnd_ = nullptr;
  QPushButton* cmdTeach_ = nullptr;
  QLabel* lblMarks_ = nullptr;
};
