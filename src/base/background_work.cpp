#include "base/background_work.h"

#include <QThread>
#include <algorithm>

BackgroundWork::BackgroundWork(QObject* owner) : QObject(owner) {
  // This object outlives the thread (its destruction waits for it), and a
  // result still queued when it goes is dropped with it.
  connect(this, &BackgroundWork::Handed, this, &BackgroundWork::Take, Qt::QueuedConnection);
}

BackgroundWork::~BackgroundWork() { Stop(); }

void BackgroundWork::Stop() {
  if (!thread_) return;
  stop_ = true;
  thread_->wait();
  thread_.reset();
  running_ = false;
}

void BackgroundWork::Start(Work work) {
  Stop();
  stop_ = false;
  permille_ = -1;
  running_ = true;
  const int started = ++started_;
  thread_.reset(QThread::create([this, work = std::move(work), started] {
    const Progress progress = [this](qint64 done, qint64 total) {
      const int permille = total > 0 ? static_cast<int>(std::clamp<qint64>(done * 1000 / total, 0, 1000)) : 0;
      // Signalled across threads only when the figure changes: a line at a
      // time would flood the owner's event queue.
      if (permille_.exchange(permille) != permille) emit Progressed(permille);
      return !stop_;
    };
    emit Handed(started, work(progress), QPrivateSignal());
  }));
  thread_->start();
}

void BackgroundWork::Take(int started, const std::function<void()>& hand) {
  if (started != started_) return;
  running_ = false;
  if (hand) hand();
}
