// The options dialog's "範囲を選択…": the area picked on a picture of the
// game window takes the same checks as the four numbers typed one by one,
// and the preview shows the new area at once.
#include <QLabel>
#include <QPixmap>
#include <QPointer>

#include "capture/area_follow.h"
#include "capture/capture_area.h"
#include "dialogs/area_picker.h"
#include "dialogs/form2.h"
#include "monitoring/message_boxes.h"
#include "dialogs/placed_windows.h"

void Form2::PickClicked(int area) {
  WindowSystem& windows = services_.windows;
  const WindowId game = windows.FindWindowByTitle(kGameTitle);
  const std::optional<QRect> outer = game != 0 ? windows.OuterRect(game) : std::nullopt;
  const QImage picture =
      outer ? CaptureWindowArea(windows, game, 0, 0, outer->width(), outer->height()) : QImage();
  if (picture.isNull()) {
    services_.boxes.Inform(tr("%1のウィンドウが見つかりません。\r\n"
                              "ゲームを起動してから選んでください。")
                               .arg(kGameTitle),
                           tr("範囲を選択"));
    return;
  }
  QPointer<Form2> alive(this);
  AreaPicker picker(services_.boxes, state_.patterns, this);
  picker.Prepare(picture, area, state_.settings.captureRegions[area]);
  PlaceBesideOwner(&picker, this);
  const bool picked = picker.exec() == QDialog::Accepted;
  if (!alive || !picked) return;
  const CaptureRegion region = picker.Picked();
  StoreArea(state_.settings, area, region, picture.size());
  Fill();
  areas_[area].preview->setPixmap(QPixmap::fromImage(CaptureGameArea(windows, game, region)));
}
