#pragma once
// Work too long for the window's thread, such as reading a history of
// years: done on a thread of its own, its progress and its result handed
// back to the owner's thread. The work gets values, never the owner's
// objects; what it hands back runs only while this object lives, and the
// owner's destruction ends it (stopping the work and waiting for it), so a
// window closed while its history loads is never touched by the loading.

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

class BackgroundWork : public QObject {
  Q_OBJECT
 public:
  // How far the work has come; false once it should give up (it was
  // started again, or its owner is going).
  using Progress = std::function<bool(qint64 done, qint64 total)>;
  // Runs on the other thread; returns what to do with its result on the
  // owner's thread.
  using Work = std::function<std::function<void()>(const Progress&)>;

  explicit BackgroundWork(QObject* owner);
  ~BackgroundWork() override;

  // Starts `work`, after stopping the one running (its result is dropped).
  void Start(Work work);
  bool Running() const { return running_; }

 signals:
  void Progressed(int permille);
  // From the work's thread, queued to this object's: what to do with the
  // result of the start numbered `started`.
  void Handed(int started, const std::function<void()>& hand, QPrivateSignal);

 private:
  void Stop();
  void Take(int started, const std::function<void()>& hand);

  std::unique_ptr<QThread> thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> permille_{-1};
  int started_ = 0;  // which start a result comes from: an earlier one's is dropped
  bool running_ = false;
};
