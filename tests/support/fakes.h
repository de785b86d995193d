#pragma once
// Fakes of the injected services: a clock that moves only when told (or when
// something waits), a scripted window system, and message boxes that record
// instead of blocking.

#include <QDateTime>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "capture/clock.h"
#include "capture/window_system.h"
#include "monitoring/message_boxes.h"
#include "persistence/notice.h"

class FakeClock : public Clock {
 public:
  explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 5), QTime(14, 30, 0)), std::int64_t ms = 1'000'000)
      : now_(std::move(start)), ms_(ms) {}

  QDateTime Now() const override { return now_; }
  std::int64_t MonotonicMs() const override { return ms_; }
  // Runs when Advance passes its time, as the event loop would run it.
  std::unique_ptr<ClockTimer> After(std::int64_t ms, std::function<void()> done) override {
    timers.push_back(ms);
    auto timer = std::make_unique<Timer>(pending_);
    pending_->push_back({ms_ + std::max<std::int64_t>(ms, 0), nextOrder_++, timer.get(), std::move(done)});
    return timer;
  }

  // Moves time on, running every timer that falls due on the way at its own
  // moment, the earliest first (and those it starts, when they fall due in
  // the same span). Backwards, or from a timer's call, it only moves time:
  // events never run inside one another.
  void Advance(std::int64_t ms) {
    const std::int64_t end = ms_ + ms;
    if (ms < 0 || running_) return MoveTo(end);
    for (;;) {
      auto due = std::min_element(pending_->begin(), pending_->end(), [](const DueCall& a, const DueCall& b) {
        return std::tie(a.dueMs, a.order) < std::tie(b.dueMs, b.order);
      });
      if (due == pending_->end() || due->dueMs > end) break;
      MoveTo(std::max(ms_, due->dueMs));
      const std::function<void()> call = std::move(due->call);
      due->owner->Forget();
      pending_->erase(due);
      running_ = true;
      call();
      running_ = false;
    }
    MoveTo(std::max(ms_, end));
  }
  void AdvanceSeconds(std::int64_t s) { Advance(s * 1000); }
  // The machine started again: the tick count begins anew, the wall clock goes on.
  void Reboot(std::int64_t ms) { ms_ = ms; }
  // The wall clock alone is set (daylight saving, a time-sync correction).
  void SetWallClock(QDateTime now) { now_ = std::move(now); }
  // Timers started and not yet run or cancelled.
  std::size_t Pending() const { return pending_->size(); }

  std::vector<std::int64_t> timers;  // every wait asked for, in ms

 private:
  class Timer;
  struct DueCall {
    std::int64_t dueMs;
    std::uint64_t order;
    Timer* owner;
    std::function<void()> call;
  };
  using Queue = std::vector<DueCall>;
  class Timer : public ClockTimer {
   public:
    explicit Timer(std::shared_ptr<Queue> queue) : queue_(std::move(queue)) {}
    ~Timer() override {
      if (queue_) std::erase_if(*queue_, [this](const DueCall& p) { return p.owner == this; });
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    void Forget() { queue_.reset(); }

   private:
    std::shared_ptr<Queue> queue_;
  };

  void MoveTo(std::int64_t ms) {
    now_ = now_.addMSecs(ms - ms_);
    ms_ = ms;
  }

  QDateTime now_;
  std::int64_t ms_;
  std::shared_ptr<Queue> pending_ = std::make_shared<Queue>();
  std::uint64_t nextOrder_ = 0;
  bool running_ = false;
};

// A desktop of windows in Z order over one screen picture. Monitors,
// minimised, cloaked and see-through windows are set directly; the sight of
// a window is what lies above it in the Z order.
class FakeWindowSystem : public WindowSystem {
 public:
  struct Window {
    QString title;
    QRect outer;
    bool minimised = false;
    bool otherDesktop = false;
    bool cloaked = false;
    bool seeThrough = false;  // a transparent or click-through overlay
  };

  // The topmost window of that title, minimised or not. A test may take
  // windows away by hand: ids left in the Z order are gone.
  WindowId FindWindowByTitle(const QString& title) override {
    for (const WindowId id : zOrder) {
      if (windows.contains(id) && windows.at(id).title == title) return id;
    }
    return 0;
  }
  WindowId ForegroundWindow() override { return foreground; }
  std::optional<QRect> OuterRect(WindowId window) override {
    return windows.contains(window) ? std::optional(windows.at(window).outer) : std::nullopt;
  }
  Desktop DesktopLayout() override {
    const QRect bounds(screenOrigin, screen.size());
    return {bounds, monitors.empty() ? std::vector<QRect>{bounds} : monitors};
  }
  // What lies above the window in the Z order.
  std::optional<WindowSight> SightOf(WindowId window) override {
    if (!windows.contains(window)) return std::nullopt;
    const Window& w = windows.at(window);
    WindowSight sight{w.outer, w.minimised, w.otherDesktop, w.cloaked, {}, {}};
    for (const WindowId id : zOrder) {
      if (id == window) break;
      if (!windows.contains(id)) continue;
      const Window& other = windows.at(id);
      sight.above.push_back({other.outer, !other.minimised && !other.otherDesktop && !other.cloaked, other.seeThrough});
    }
    return sight;
  }
  QImage GrabScreen(const QRect& rect) override {
    grabs.push_back(rect);
    return screen.copy(rect.translated(-screenOrigin)).convertToFormat(QImage::Format_RGB32);
  }
  GrabWay LastGrabWay() const override { return grabWay; }
  void Beep() override { ++beeps; }

  // Adds a window on top of the others and returns its id.
  WindowId Add(const QString& title, const QRect& outer) {
    const WindowId id = next_++;
    windows[id] = {title, outer};
    zOrder.insert(zOrder.begin(), id);
    return id;
  }
  void Remove(WindowId id) {
    windows.erase(id);
    std::erase(zOrder, id);
  }
  // Puts the window on top of the others.
  void Raise(WindowId id) {
    std::erase(zOrder, id);
    zOrder.insert(zOrder.begin(), id);
  }
  // The window's outer rectangle moves (and may change size).
  void Place(WindowId id, const QRect& outer) { windows.at(id).outer = outer; }

  std::map<WindowId, Window> windows;
  std::vector<WindowId> zOrder;  // topmost first
  WindowId foreground = 0;
  // What GrabScreen copies from; its top-left pixel lies at screenOrigin,
  // which is left of or above (0, 0) when a monitor is.
  QImage screen{1280, 1024, QImage::Format_RGB32};
  QPoint screenOrigin{0, 0};
  std::vector<QRect> monitors;  // none: the screen picture is one monitor
  std::vector<QRect> grabs;
  GrabWay grabWay = GrabWay::Screen;  // how every grab says it came
  int beeps = 0;

 private:
  WindowId next_ = 100;
};

// Boxes that record instead of blocking, and can let time pass while one
// is open, as a real modal box does (its own event loop keeps the timer running).
class RecordingMessageBoxes : public MessageBoxes {
 public:
  void Inform(const QString& text, const QString& title) override {
    shown.push_back({text, title});
    if (whileOpen) whileOpen();
  }
  bool AskYesNo(const QString& text, const QString& title) override {
    Inform(text, title);
    return answer;
  }
  // Recorded with the others; `warned` counts those that must stand above the game.
  void Warn(const QString& text, const QString& title) override {
    shown.push_back({text, title});
    ++warned;
  }
  std::vector<Notice> shown;
  int warned = 0;
  bool answer = true;
  std::function<void()> whileOpen;
};
