#include "main_window/tray_icon.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSystemTrayIcon>

#include "base/display_text.h"

QImage TrayPicture(TrayState state, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  const QColor fill = state == TrayState::Stopped      ? QColor(128, 128, 128)
                      : state == TrayState::Monitoring ? QColor(40, 160, 60)
                                                       : QColor(210, 40, 40);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF disc(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
  painter.setPen(QPen(fill.darker(160), std::max(1.0, size / 16.0)));
  painter.setBrush(fill);
  painter.drawEllipse(disc);
  painter.setPen(QPen(Qt::white, std::max(1.5, size / 10.0), Qt::SolidLine, Qt::RoundCap));
  const QPointF centre = disc.center();
  if (state == TrayState::Alert) {
    painter.drawLine(QPointF(centre.x(), size * 0.25), QPointF(centre.x(), size * 0.58));
    painter.drawPoint(QPointF(centre.x(), size * 0.74));
  } else {
    // A gauge needle: upright when stopped, leaning right while it counts.
    const QPointF tip = state == TrayState::Monitoring ? QPointF(size * 0.72, size * 0.30)
                                                       : QPointF(centre.x(), size * 0.22);
    painter.drawLine(QPointF(centre.x(), size * 0.66), tip);
  }
  return image;
}

QString TrayToolTip(TrayState state, std::optional<double> rate) {
  const QString what = state == TrayState::Stopped      ? TrayIcon::tr("停止中")
                       : state == TrayState::Monitoring ? TrayIcon::tr("監視中")
                                                        : TrayIcon::tr("警告あり");
  if (!rate) return QStringLiteral("Tallymeter ") + what;
  return TrayIcon::tr("Tallymeter %1 時給 %2 k/h").arg(what, GroupedNumber(*rate));
}

TrayIcon::TrayIcon(Commands commands, QObject* parent) : QObject(parent), commands_(std::move(commands)) {
  menu_ = new QMenu();
  run_ = menu_->addAction(tr("開始"));
  stop_ = menu_->addAction(tr("停止"));
  menu_->addSeparator();
  QAction* window = menu_->addAction(tr("ウィンドウの表示/非表示"));
  connect(run_, &QAction::triggered, this, [this] { commands_.run(); });
  connect(stop_, &QAction::triggered, this, [this] { commands_.stop(); });
  connect(window, &QAction::triggered, this, [this] { commands_.toggleWindow(); });

  icon_ = new QSystemTrayIcon(this);
  icon_->setContextMenu(menu_);
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) commands_.toggleWindow();
  });
  Refresh();
  if (QSystemTrayIcon::isSystemTrayAvailable()) icon_->show();
}

TrayIcon::~TrayIcon() {
  // The icon goes first: it must never be left with a menu that is gone.
  delete icon_;
  delete menu_;
}

void TrayIcon::SetState(TrayState state) {
  if (state == state_) return;
  state_ = state;
  Refresh();
}

void TrayIcon::SetLastRate(std::optional<double> rate) {
  rate_ = rate;
  Refresh();
}

void TrayIcon::Notify(const QString& title, const QString& text) {
  if (icon_->isVisible() && QSystemTrayIcon::supportsMessages()) {
    icon_->showMessage(title, text, QSystemTrayIcon::Warning);
  }
}

QString TrayIcon::ToolTip() const { return icon_->toolTip(); }

void TrayIcon::Refresh() {
  QIcon picture;
  for (const int size : {16, 22, 32, 48}) picture.addPixmap(QPixmap::fromImage(TrayPicture(state_, size)));
  icon_->setIcon(picture);
  icon_->setToolTip(TrayToolTip(state_, rate_));
  run_->setEnabled(state_ == TrayState::Stopped);
  stop_->setEnabled(state_ != TrayState::Stopped);
}
