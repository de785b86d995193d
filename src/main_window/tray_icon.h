#pragma once
// The icon in the desktop's tray, where it has one: the monitoring state in
// its colour, the last rate in its tool tip, Run/Stop and show/hide in its
// menu, and the alerts as notifications. Drawn here, no image files.

#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QSystemTrayIcon;

enum class TrayState { Stopped, Monitoring, Alert };

// The icon for `state` at `size` pixels: a round gauge, grey when stopped,
// green while monitoring, red with a "!" while an alert stands.
QImage TrayPicture(TrayState state, int size);

// "Tallymeter 監視中 時給 2,529 k/h" and the like.
QString TrayToolTip(TrayState state, std::optional<double> rate);

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  struct Commands {
    std::function<void()> run;
    std::function<void()> stop;
    std::function<void()> toggleWindow;
  };
  TrayIcon(Commands commands, QObject* parent = nullptr);
  ~TrayIcon() override;

  void SetState(TrayState state);
  void SetLastRate(std::optional<double> rate);
  // Shown only where the desktop has a tray.
  void Notify(const QString& title, const QString& text);

  TrayState State() const { return state_; }
  QString ToolTip() const;
  QMenu* Menu() const { return menu_; }

 private:
  void Refresh();

  Commands commands_;
  QSystemTrayIcon* icon_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* run_ = nullptr;
  QAction* stop_ = nullptr;
  TrayState state_ = TrayState::Stopped;
  std::optional<double> rate_;
};
