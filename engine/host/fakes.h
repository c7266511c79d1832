// Recording fakes of the host interfaces, for tests and the headless driver.
#pragma once

#include <string>
#include <vector>

#include "engine/host/host.h"

namespace host {

class RecordingMessages : public MessageHost {
 public:
  struct Shown {
    std::u16string text;
    uint32_t kind;
    bool question;
  };
  void MessageDialog(const std::u16string& text, uint32_t kind) override;
  uint32_t ConfirmDialog(const std::u16string& text, uint32_t kind) override;

  std::vector<Shown> shown;
  uint32_t answer = 1;  // what ConfirmDialog answers
};

// Installs fakes as the current hosts for the life of a test and restores what was there before.
class ScopedHosts {
 public:
  explicit ScopedHosts(const Hosts& hosts) : saved_(Current()) { Current() = hosts; }
  ~ScopedHosts() { Current() = saved_; }
  ScopedHosts(const ScopedHosts&) = delete;
  ScopedHosts& operator=(const ScopedHosts&) = delete;

 private:
  Hosts saved_;
};

}  // namespace host
