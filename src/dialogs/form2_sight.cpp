// The options dialog's box for reading a game that another window has the
// focus over, while both capture areas are in sight; and the game window's
// size, which the areas are stored for.
#include <QCheckBox>

#include "capture/window_system.h"
#include "dialogs/alert_options.h"
#include "dialogs/form2.h"

void Form2::BuildSightOption() {
  chkReadWhenVisible_ =
      new QCheckBox(tr("他のウィンドウが前面でも、両方の領域が見えていれば読み取る"), this);
  chkReadWhenVisible_->setObjectName(QStringLiteral("chkReadWhenVisible"));
  chkReadWhenVisible_->setGeometry(8, 436 + AlertOptions::kHeight - 2, 496, 20);
  connect(chkReadWhenVisible_, &QCheckBox::toggled, this, [this](bool on) { state_.settings.readWhenVisible = on; });
}

void Form2::FillSightOption() { chkReadWhenVisible_->setChecked(state_.settings.readWhenVisible); }

QSize Form2::GameOuterSize() {
  WindowSystem& windows = services_.windows;
  const WindowId game = windows.FindWindowByTitle(kGameTitle);
  const std::optional<QRect> outer = game != 0 ? windows.OuterRect(game) : std::nullopt;
  return outer ? outer->size() : QSize();
}
