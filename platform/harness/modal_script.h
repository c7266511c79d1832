// Drives windows that someone else's modal loop runs: the steps run from a timer of this thread, which
// every modal loop (dialog boxes, menus, message boxes) dispatches. Each step waits for its condition
// up to a bound; when a bound passes, the script fails and ends the thread's modal dialogs so that the
// test goes on and reports instead of hanging. So does a last step that leaves the dialog it ran in open:
// nobody else would end that modal loop.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

namespace harness {

class ModalScript {
 public:
  ModalScript() = default;
  ~ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  // Adds a step: once ready() holds, act() runs.
  ModalScript& Step(std::string name, std::function<bool()> ready, std::function<void()> act,
                    unsigned timeoutMs = 5000);
  // Adds a step that waits for a visible window of this thread with exactly this text.
  ModalScript& OnWindow(const std::wstring& text, std::function<void(HWND)> act, unsigned timeoutMs = 5000);
  // Starts the timer; call before entering the modal loop.
  void Start();

  bool Finished() const { return started_ && steps_.empty() && failure_.empty(); }
  const std::string& Failure() const { return failure_; }

  // Fails every running script with the reason and ends the thread's dialogs (a control not found).
  static void FailAll(const std::string& why);
  // How long the dialog the last step ran in may stay open after it.
  static constexpr unsigned kLastDialogMs = 3000;

 private:
  struct Entry {
    std::string name;
    std::function<bool()> ready;
    std::function<void()> act;
    unsigned timeoutMs;
  };
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
  void Tick();
  void Fail(const std::string& why);
  void Stop();

  std::deque<Entry> steps_;
  std::string failure_;
  HWND lastDialog_ = nullptr;  // the dialog the last step ran in, while it stays open
  DWORD headSince_ = 0;
  UINT_PTR timer_ = 0;
  bool started_ = false;
};

}  // namespace harness
