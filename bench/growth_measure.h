// What the growth benchmarks share: processor time of the measuring thread, and a stop once a child
// process has used so many seconds of it.
#pragma once

#include <sys/resource.h>

#include <ctime>

namespace growth {

// The processor time of this thread: other work on a shared machine adds far less to it than to the clock.
inline double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Stops this process once it has used limit more seconds of processor time: a busy machine slows the
// clock's seconds, not these.
inline void StopAfter(int limit) {
  rlimit cpu{};
  getrlimit(RLIMIT_CPU, &cpu);
  rusage used{};
  getrusage(RUSAGE_SELF, &used);
  cpu.rlim_cur = static_cast<rlim_t>(used.ru_utime.tv_sec + used.ru_stime.tv_sec + 1 + limit);
  if (cpu.rlim_max != RLIM_INFINITY && cpu.rlim_cur > cpu.rlim_max) cpu.rlim_cur = cpu.rlim_max;
  setrlimit(RLIMIT_CPU, &cpu);
}

}  // namespace growth
