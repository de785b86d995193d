// What the main window shows of the live side of monitoring: the panel, the
// chart and the compact view fed with the cycle's figures, the state line
// with its countdown, and the tray icon with the alerts.

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "main_window/compact_view.h"
#include "main_window/form1.h"
#include "main_window/live_panel.h"
#include "main_window/rate_chart.h"
#include "main_window/tray_icon.h"

void Form1::FiguresChanged(const SessionFigures& figures, const std::vector<SessionPoint>& points) {
  panelLive_->Show(figures);
  chartLive_->SetPoints(points);
  if (compact_) compact_->Show(figures);
  ShowGoal(figures);
}

void Form1::StateChanged() {
  // Nothing counts down while stopped: no wake-ups at all then.
  const bool needed = monitor_.CountingDown() && !ended_;
  if (needed && !refreshState_->isActive()) refreshState_->start();
  if (!needed) refreshState_->stop();
  RefreshStateLine();
}

void Form1::RefreshStateLine() {
  const QString text = monitor_.StateText();
  if (lblState_->text() != text) lblState_->setText(text);
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
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
  const Settings& s = state_.settings;
  const bool placed = !(s.compactViewX == -1 && s.compactViewY == -1);
  const QPoint remembered = placed ? QPoint(s.compactViewX, s.compactViewY) : QPoint(-100000, -100000);
  compact_->move(CompactViewPosition(remembered, compact_->size(), screens));
  compact_->Show(monitor_.Figures());
  ShowMemoEverywhere();
  ShowGoal(monitor_.Figures());
  compact_->show();
  compact_->raise();
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

void Form1::RateLogged(double rate) {
  if (tray_) tray_->SetLastRate(rate);
}
