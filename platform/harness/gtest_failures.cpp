// Linked into the test programs that use the window driver: the driver's own failures (a control not
// found) fail the running test.
#include <gtest/gtest.h>

#include <string>

#include "platform/harness/driver.h"

namespace {

const bool installed = [] {
  harness::SetFailureHandler([](const std::string& why) { ADD_FAILURE() << why; });
  return true;
}();

}  // namespace
