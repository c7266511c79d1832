#include "engine/records/pause_gate.h"

PauseGate ScanPauseGate;
PauseGate SavePauseGate;

void PauseGate::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  closed_ = true;
  closer_ = std::this_thread::get_id();
}

void PauseGate::Open() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = false;
  }
  opened_.notify_all();
}

bool PauseGate::IsClosed() { return closed_.load(); }

void PauseGate::Pass() {
  if (!closed_.load()) return;
  std::unique_lock<std::mutex> lock(mutex_);
  if (closed_ && closer_ == std::this_thread::get_id()) return;
  ++waiting_;
  opened_.wait(lock, [this] { return !closed_.load(); });
  --waiting_;
}

int PauseGate::Waiting() {
  std::lock_guard<std::mutex> lock(mutex_);
  return waiting_;
}
