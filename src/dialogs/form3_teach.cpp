// The pattern editor's teaching from a capture: the teacher dialog fills the
// slots as a paste would, the slots still waiting for their digit are
// marked, and before a save the captures taught from must read as typed.
#include <QLabel>
#include <QPushButton>

#include "dialogs/capture_teacher.h"
#include "dialogs/form3.h"
#include "monitoring/message_boxes.h"
#include "dialogs/pattern_rules.h"
#include "dialogs/placed_windows.h"
#include "dialogs/pattern_slot.h"
#include "persistence/pattern_store.h"

std::array<bool, 11> Form3::Unfinished() const {
  std::array<bool, 11> unfinished{};
  for (std::size_t slot = 0; slot < unfinished.size(); ++slot) {
    unfinished[slot] = !IsRegistered(slots_[slot]->Picture()) || origins_[slot] == PatternOrigin::Delivered;
  }
  return unfinished;
}

void Form3::UpdateMarks() {
  const std::array<bool, 11> unfinished = Unfinished();
  QStringList waiting;
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    slots_[static_cast<std::size_t>(slot)]->SetMarked(unfinished[static_cast<std::size_t>(slot)]);
    if (unfinished[static_cast<std::size_t>(slot)]) {
      waiting << (slot < 10 ? QString::number(slot) : DelimiterCaption());
    }
  }
  const bool taught = TaughtFromCaptures(origins_);
  QStringList learned;
  for (int slot = 0; slot < 10; ++slot) {
    if (origins_[static_cast<std::size_t>(slot)] == PatternOrigin::LearnedAtLevelUp) learned << QString::number(slot);
  }
  const QString list = waiting.join(QStringLiteral(" "));
  const QString levelUp = learned.isEmpty() ? QString() : QStringLiteral("\n") + tr("レベルアップ時に自動登録: %1").arg(learned.join(' '));
  lblMarks_->setText((waiting.isEmpty() ? tr("11個すべて登録済みです。")
                     : taught          ? tr("赤枠＝未登録（読取りに不使用）: %1").arg(list)
                                       : tr("赤枠は未登録か同梱のまま: %1").arg(list)) +
                     levelUp);
}

void Form3::TeachClicked() { TeachFrom(captureSource_ ? captureSource_(area_) : QImage()); }

void Form3::TeachFrom(const QImage& capture) {
  if (capture.isNull()) {
    services_.boxes.Inform(tr("この領域のキャプチャがまだありません。") + QStringLiteral("\r\n") +
                               tr("ゲームを前面にして一度キャプチャしてから選んでください。"),
                           tr("キャプチャから登録"));
    return;
  }
  // What is taught already tells the cell width and which shapes are which digit.
  AreaPictures pictures = SlotPictures();
  CaptureTeacher teacher(services_.boxes, this);
  teacher.Prepare(capture, area_, KnownOf(pictures, origins_), layout_);
  PlaceBesideOwner(&teacher, this);
  if (teacher.exec() != QDialog::Accepted) return;
  const TaughtCapture accepted = teacher.Accepted();
  PutCells(pictures, origins_, looks_, accepted.capture, accepted.cells);
  LearnLayout(layout_, accepted.capture, accepted.cells);
  for (std::size_t slot = 0; slot < pictures.size(); ++slot) slots_[slot]->SetPicture(pictures[slot]);
  taught_.push_back(accepted);
  UpdateMarks();
}

bool Form3::TaughtCapturesRead(const PatternImages& images) {
  PatternSet set;
  std::optional<QString> problem;
  if (!ConvertPatterns(images, set)) {
    problem = RefusalText(SegmentationRefusal::NotReadBack, QString());
  } else {
    problem = ReadBackProblem(taught_, area_, set);
  }
  if (!problem) return true;
  services_.boxes.Inform(*problem, tr("パターン保存"));
  return false;  // the slots keep what was taught, to be put right
}
