// The pause gate between a page's Stop and its worker. Stop never suspends a thread: while the page asks
// "stop?", it closes the gate, and the worker waits at its next test of its stop flag; the answer sets the
// stop flag or not and opens the gate again. A worker therefore never stands still half way through a
// write, a sent message or a held lock, and the question never waits for the worker.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class PauseGate {
 public:
  // The user-interface thread, around its question.
  void Close();
  void Open();
  bool IsClosed();
  // The worker: returns at once while the gate is open, else when it opens. The thread that closed the
  // gate passes at once (a results tree built on the user-interface thread while it asks).
  void Pass();
  // How many threads wait at the gate now (a test holds a worker there before it presses Stop).
  int Waiting();

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  // Written under the lock; read without it first, so an open gate costs the worker one load per test.
  std::atomic<bool> closed_{false};
  std::thread::id closer_;
  int waiting_ = 0;  // under the lock
};

// The scan workers' gate (Quick Scan, Extensive Scan, File Trace, reading a chosen file system, the
// partition search, the results tree builders): passed wherever they test ScanThreadControl's stop flag.
extern PauseGate ScanPauseGate;
// The save worker's gate: passed wherever the savers test SaveAbortFlag.
extern PauseGate SavePauseGate;

// Closes a gate for a scope: the question a page asks while its worker waits.
class ClosedGate {
 public:
  explicit ClosedGate(PauseGate& gate) : gate_(gate) { gate_.Close(); }
  ~ClosedGate() { gate_.Open(); }
  ClosedGate(const ClosedGate&) = delete;
  ClosedGate& operator=(const ClosedGate&) = delete;

 private:
  PauseGate& gate_;
};
