#pragma once
// A full disk, as this process sees it: while `work` runs, files may not grow
// beyond `bytes` (RLIMIT_FSIZE), and the signal that would end the process
// for trying is ignored, so the write simply fails. POSIX only.

#include <sys/resource.h>

#include <csignal>

template <class Work>
auto WithDiskLimit(rlim_t bytes, Work&& work) {
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{bytes, saved.rlim_max};
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  auto result = work();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  return result;
}
