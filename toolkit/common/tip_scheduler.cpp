#include "toolkit/common/tip_scheduler.h"

namespace tk {

TipScheduler::Step TipScheduler::Relay(int tool, bool leftButtonDown, uint32_t now) {
  if (leftButtonDown) {
    clicked_ = tool;
    tool = -1;
  } else if (tool == clicked_) {
    tool = -1;
  }
  Step step;
  if ((tool == -1 && pending_ != -1) || tool != pending_) {
    step.stopTimer = pending_ != -1;
    pending_ = -1;
  }
  if (tool == -1) {
    step.action = shown_ != -1 ? Action::kHide : Action::kNothing;
    return step;
  }
  if (tool == shown_) return step;
  step.tool = tool;
  if (changed_ && now - lastChange_ < kReshowTime) {
    step.action = Action::kShow;
  } else if (tool != pending_) {
    pending_ = tool;
    step.action = Action::kStartTimer;
  }
  return step;
}

TipScheduler::Step TipScheduler::Timer(int toolUnderCursor) {
  Step step;
  step.stopTimer = true;
  if (pending_ != -1 && toolUnderCursor == pending_) {
    step.action = Action::kShow;
    step.tool = pending_;
  }
  pending_ = -1;
  return step;
}

void TipScheduler::Shown(int tool, uint32_t now) {
  shown_ = tool;
  clicked_ = -1;
  lastChange_ = now;
  changed_ = true;
}

void TipScheduler::Hidden(uint32_t now) {
  if (shown_ == -1) return;
  shown_ = -1;
  pending_ = -1;
  lastChange_ = now;
  changed_ = true;
}

void TipScheduler::Forget(int tool) {
  if (pending_ == tool) pending_ = -1;
  if (clicked_ == tool) clicked_ = -1;
}

}  // namespace tk
