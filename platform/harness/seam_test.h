// A test fixture with the seams replaced: message boxes answer from the script, dialogs from presets,
// shell calls are recorded. Every box, file dialog and folder browser the test opens must have been
// scripted, and every answer queued must have been used.
#pragma once

#include <gtest/gtest.h>

#include "scripted_seams.h"

namespace harness {

class SeamTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(seams.boxes.Unscripted(), 0u) << "a message box was shown that the test did not answer";
    EXPECT_EQ(seams.boxes.Pending(), 0u) << "an answer was queued for a message box never shown";
    EXPECT_EQ(seams.dialogs.Unscripted(), 0u) << "a dialog was opened that the test did not preset";
    EXPECT_EQ(seams.dialogs.Pending(), 0u) << "a dialog preset was never used";
  }

  ScopedSeams seams;
};

}  // namespace harness
