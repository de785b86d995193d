// The pattern editor's teaching from a capture: the teacher dialog fills the
// slots as a paste would, the slots still waiting for their digit are
// marked, and after a save the captures taught from must read as typed.
#include <QLabel>
#include <QPushButton>
#include <map>

#include "recognition/area_reading.h"
#include "dialogs/capture_teacher.h"
#include "dialogs/form3.h"
#include "dialogs/message_boxes.h"
#include "dialogs/pattern_rules.h"
#include "dialogs/pattern_slot.h"

namespace {
const QString kTeachTitle = QStringLiteral("キャプチャから登録");
}

std::array<bool, 11> Form3::Unfinished() const {
  std::array<bool, 11> unfinished{};
  for (std::size_t slot = 0; slot < unfinished.size(); ++slot) {
    const QImage& picture = slots_[slot]->Picture();
    unfinished[slot] = !IsRegistered(picture) ||
                       (!defaults_[slot].isNull() && picture.convertToFormat(QImage::Format_RGB32) == defaults_[slot]);
  }
  return unfinished;
}

void Form3::UpdateMarks() {
  const std::array<bool, 11> unfinished = Unfinished();
  QStringList waiting;
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    slots_[static_cast<std::size_t>(slot)]->SetMarked(unfinished[static_cast<std::size_t>(slot)]);
    if (unfinished[static_cast<std::size_t>(slot)]) {
      waiting << (slot < 10 ? QString::number(slot) : QStringLiteral("デリミタ"));
    }
  }
  lblMarks_->setText(waiting.isEmpty() ? QStringLiteral("11個すべて登録済みです。")
                                       : QStringLiteral("赤枠は未登録かデフォルト: ") + waiting.join(QStringLiteral(" ")));
}

void Form3::TeachClicked() {
  const QImage capture = captureSource_ ? captureSource_(area_) : QImage();
  if (capture.isNull()) {
    services_.boxes.Inform(QStringLiteral("この領域のキャプチャがまだありません。\r\n"
                                          "ゲームを前面にして一度キャプチャしてから選んでください。"),
                           kTeachTitle);
    return;
  }
  // What is taught already tells the pitch and which shapes are which digit.
  const std::array<bool, 11> unfinished = Unfinished();
  KnownDigits known;
  std::map<int, int> widths;
  for (std::size_t d = 0; d < 10; ++d) {
    if (unfinished[d]) continue;
    known[d] = slots_[d]->Picture();
    ++widths[known[d].width()];
  }
  int pitchHint = 0;
  int most = 0;
  for (const auto& [width, count] : widths) {
    if (count > most) {
      most = count;
      pitchHint = width;
    }
  }
  CaptureTeacher teacher(services_.boxes, this);
  teacher.Prepare(capture, area_, pitchHint, known);
  if (teacher.exec() != QDialog::Accepted) return;
  const TaughtCells& cells = teacher.Accepted();
  for (std::size_t slot = 0; slot < cells.size(); ++slot) {
    if (cells[slot].isNull()) continue;
    slots_[slot]->SetPicture(SlotAfterClick(slots_[slot]->Picture(), cells[slot]));
  }
  taught_.push_back({capture, teacher.Typed()});
  UpdateMarks();
}

bool Form3::TaughtCapturesRead() {
  for (const TaughtCapture& taught : taught_) {
    const AreaReading reading = ReadArea(taught.capture, area_, state_.patterns);
    if (reading.digits == taught.typed) continue;
    services_.boxes.Inform(
        QStringLiteral("保存しましたが、登録に使ったキャプチャが「%1」と読めません（読み取り結果: %2）。\r\n"
                       "セルの境界や入力した数字を確かめて、もう一度登録してください。")
            .arg(taught.typed, reading.caption),
        QStringLiteral("パターン保存"));
    LoadArea(area_);  // the slots show what was saved, to be put right
    return false;
  }
  return true;
}
