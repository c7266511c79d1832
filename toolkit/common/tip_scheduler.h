// When a drawn tooltip shows, waits or hides: a new tool shows after the initial delay, or at once when
// the tip changed a moment ago (moving along a row of buttons); a clicked tool stays quiet until the
// cursor moves to another tool. Tools are keys (an index), -1 is none; time in milliseconds.
#pragma once

#include <cstdint>

namespace tk {

class TipScheduler {
 public:
  static constexpr uint32_t kInitialDelay = 500;
  static constexpr uint32_t kReshowTime = 200;

  enum class Action { kNothing, kShow, kStartTimer, kHide };
  struct Step {
    bool stopTimer = false;
    Action action = Action::kNothing;
    int tool = -1;  // the tool to show
  };

  // A mouse message relayed with the tool under the cursor; a left button-down marks the tool clicked.
  Step Relay(int tool, bool leftButtonDown, uint32_t now);
  // The show timer ran out; the pending tool shows when it is still the one under the cursor.
  Step Timer(int toolUnderCursor);
  // The window reports what it did, so that the next decisions know.
  void Shown(int tool, uint32_t now);
  void Hidden(uint32_t now);
  // The tool went away or the tips were switched off.
  void Forget(int tool);
  void Deactivate() { pending_ = -1; }

  int shown() const { return shown_; }
  int pending() const { return pending_; }

 private:
  int shown_ = -1;
  int pending_ = -1;
  int clicked_ = -1;
  uint32_t lastChange_ = 0;
  bool changed_ = false;
};

}  // namespace tk
