// The box's countdown: a time-out that presses the default button when it runs out, or a disabled time
// that keeps the buttons disabled until it does. With both, the counter starts at the time-out and the end
// enables the buttons instead of pressing one.
#pragma once

namespace msgbox {

class Countdown {
 public:
  Countdown(int timeout, int disabledTime);

  enum class Tick {
    kShow,          // still running: show Counter()
    kPressDefault,  // ran out: press the default button
    kEnable,        // ran out: enable the buttons again
    kNone,          // not running
  };

  bool Running() const { return counter_ > 0; }
  int Counter() const { return counter_; }
  // A disabled time runs: the buttons are disabled while the counter is above 0.
  bool Disabling() const { return disabledTime_ > 0; }
  // Counts one second down.
  Tick Step();

 private:
  int counter_ = 0;
  int timeout_ = 0;
  int disabledTime_ = 0;
};

}  // namespace msgbox
