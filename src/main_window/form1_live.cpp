// What the main window shows of the live side of monitoring: the panel, the
// chart and the compact view fed with the cycle's figures, the state line
// with its countdown, and the tray icon with the alerts.

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "main_window/compact_view.h"
#include "main_window/form1.h"
#include "main_window/live_panel.h"
#include "main_window/rate_chart.h"
#include "main_window/tray_icon.h"
#include "dialogs/window_placement.h"

void Form1::FiguresChanged(const SessionFigures& figures, const std::vector<SessionPoint>& points) {
  panelLive_->Show(figures);
  chartLive_->SetPoints(points);
  if (compact_) compact_->Show(figures);
  ShowGoal(figures);
}

void Form1::StateChanged() {
  KeepCompactViewClear();
  // Nothing counts down while stopped: no wake-ups at all then.
  const bool needed = monitor_.CountingDown() && !ended_;
  if (needed && !refreshState_->isActive()) refreshState_->start();
  if (!needed) refreshState_->stop();
  RefreshStateLine();
}

void Form1::RefreshStateLine() {
  const QString text = monitor_.StateText();
  if (lblState_->text() != text) {
    lblState_->setText(text);
    FitStateLine();
  }
  // A failed reading is one click from being taught: the line opens the
  // teacher on the capture it failed on.
  const bool teachable = monitor_.StateTellsReadingFailure();
  lblState_->setCursor(teachable ? Qt::PointingHandCursor : Qt::ArrowCursor);
  lblState_->setToolTip(teachable ? tr("クリックすると、読めなかったキャプチャから登録します") : QString());
  // The countdown on the button too: it is where the player who pressed it
  // looks, with this window still in front.
  const std::optional<int> left = monitor_.ManualSecondsLeft(MonitoringCycle::kCaptureCommand);
  //: Countdown on the capture button
  const QString caption = left ? tr("あと%1秒").arg(*left) : tr("キャプチャ");
  if (cmdCapture_->text() != caption) cmdCapture_->setText(caption);
}

void Form1::FitStateLine() {
  // As many lines as the text needs at the width it has; the status bar
  // grows with them and the client area lays itself out again.
  const int height = lblState_->heightForWidth(lblState_->width());
  if (height > 0 && lblState_->minimumHeight() != height) lblState_->setMinimumHeight(height);
}

CompactView* Form1::Compact() const { return compact_.data(); }

void Form1::menuCompact_Click() {
  if (ended_) return;
  if (compact_ && compact_->isVisible()) {
    compact_->hide();
    return;
  }
  if (!compact_) {
    // A window of its own (no parent), so it can stay above the game while
    // the main window is minimised; the main window deletes it.
    compact_ = new CompactView([this](QPoint at) {
      state_.settings.compactViewX = at.x();
      state_.settings.compactViewY = at.y();
    });
    connect(compact_.data(), &CompactView::memoTyped, this, &Form1::MemoTyped);
    connect(compact_.data(), &CompactView::mainWindowWanted, this, [this] {
      showNormal();
      raise();
      activateWindow();
    });
  }
  const QList<QRect> screens = ScreenAreas();
  const Settings& s = state_.settings;
  const bool placed = !(s.compactViewX == -1 && s.compactViewY == -1);
  const QPoint remembered = placed ? QPoint(s.compactViewX, s.compactViewY) : QPoint(-100000, -100000);
  const QPoint at = CompactViewPosition(remembered, compact_->size(), screens);
  compact_->move(CompactViewPlace(QRect(at, compact_->frameGeometry().size())));
  compact_->Show(monitor_.Figures());
  ShowMemoEverywhere();
  ShowGoal(monitor_.Figures());
  compact_->show();
  compact_->raise();
}

QList<QRect> Form1::ScreenAreas() {
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
  return screens;
}

std::optional<QRect> Form1::GameOuter() const {
  const WindowId game = services_.windows.FindWindowByTitle(kGameTitle);
  return game == 0 ? std::nullopt : services_.windows.OuterRect(game);
}

std::vector<QRect> Form1::SpotsToKeepClear() const {
  const std::optional<QRect> game = GameOuter();
  return game ? GameSpotsToKeepClear(*game, state_.settings.captureRegions) : std::vector<QRect>{};
}

void Form1::KeepCompactViewClear() {
  // It stays on top: over an area it would make every reading fail. Where
  // the player put it is left alone otherwise, over our windows too.
  if (!compact_ || !compact_->isVisible()) return;
  const QRect now = compact_->frameGeometry();
  const std::vector<QRect> spots = SpotsToKeepClear();
  if (std::none_of(spots.begin(), spots.end(), [&](const QRect& r) { return r.intersects(now); })) return;
  const QPoint to = CompactViewPlace(now);
  if (to != now.topLeft()) compact_->move(compact_->pos() + (to - now.topLeft()));
}

QPoint Form1::CompactViewPlace(const QRect& wanted) const {
  // Off the game's areas and off our own windows' controls (the main
  // window's buttons, the options' 保存): it stays on top of them all.
  const std::vector<QRect> spots = SpotsToKeepClear();
  std::vector<QRect> clear = spots;
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    if (window != compact_ && window->isVisible() && !window->isMinimized()) clear.push_back(window->frameGeometry());
  }
  const QList<QRect> screens = ScreenAreas();
  const QRect placed(PlaceAvoiding(wanted, clear, screens), wanted.size());
  // No room beside our windows too: off the areas at least.
  if (std::any_of(spots.begin(), spots.end(), [&](const QRect& r) { return r.intersects(placed); })) {
    return PlaceAvoiding(wanted, spots, screens);
  }
  return placed.topLeft();
}

std::vector<QRect> Form1::OwnWindowRects() const {
  std::vector<QRect> rects;
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && !window->isMinimized()) rects.push_back(window->frameGeometry());
  }
  return rects;
}

void Form1::CreateTray() {
  tray_ = new TrayIcon({[this] { menuRun_Click(); }, [this] { menuStop_Click(); },
                        [this] {
                          if (ended_) return;
                          if (isVisible() && !isMinimized()) {
                            hide();
                          } else {
                            showNormal();
                            activateWindow();
                          }
                        }},
                       this);
  UpdateTray();
}

void Form1::UpdateTray() {
  if (!tray_) return;
  tray_->SetState(!IsMonitoring()                  ? TrayState::Stopped
                  : monitor_.Alerts().AnyActive() ? TrayState::Alert
                                                  : TrayState::Monitoring);
}

void Form1::AlertChanged(AlertKind /*kind*/, bool raised, const QString& text) {
  if (raised && state_.settings.alertNotify && tray_) tray_->Notify(QStringLiteral("Tallymeter"), text);
  UpdateTray();
}

void Form1::Warned(const QString& /*title*/, const QString& text) {
  if (tray_) tray_->Notify(QStringLiteral("Tallymeter"), text);
}

void Form1::RateLogged(double rate) {
  if (tray_) tray_->SetLastRate(rate);
}
