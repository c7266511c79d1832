#include "ui/msgbox/countdown.h"

namespace msgbox {

Countdown::Countdown(int timeout, int disabledTime)
    : counter_(timeout > 0 ? timeout : (disabledTime > 0 ? disabledTime : 0)),
      timeout_(timeout),
      disabledTime_(disabledTime) {}

Countdown::Tick Countdown::Step() {
  if (counter_ <= 0) return Tick::kNone;
  --counter_;
  if (counter_ > 0) return Tick::kShow;
  if (disabledTime_ > 0) return Tick::kEnable;
  return timeout_ > 0 ? Tick::kPressDefault : Tick::kNone;
}

}  // namespace msgbox
