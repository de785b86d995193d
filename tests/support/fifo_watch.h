#pragma once
// A named pipe in place of a file, and a watcher that notices (and releases)
// anyone who opens it for reading: a program that opens it would otherwise
// block for ever, so a test can assert that it never tried, without waiting.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <atomic>
#include <thread>

class FifoWatch {
 public:
  explicit FifoWatch(const QString& path) : path_(path.toLocal8Bit()) {
    made_ = mkfifo(path_.constData(), 0644) == 0;
    watcher_ = std::thread([this] {
      while (!stop_) {
        // Opening the writing end without blocking succeeds only while a
        // reader holds the pipe open; closing it at once gives that reader
        // an end of file.
        const int fd = open(path_.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
          // The program may have put a plain file in the pipe's place.
          struct stat info {};
          if (fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode)) opened_ = true;
          close(fd);
        }
        std::this_thread::yield();
      }
    });
  }
  ~FifoWatch() {
    stop_ = true;
    watcher_.join();
  }
  FifoWatch(const FifoWatch&) = delete;
  FifoWatch& operator=(const FifoWatch&) = delete;

  bool Made() const { return made_; }
  bool Opened() const { return opened_; }

 private:
  QByteArray path_;
  bool made_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<bool> opened_{false};
  std::thread watcher_;
};
