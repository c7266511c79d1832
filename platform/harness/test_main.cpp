// The main of the Windows test programs: GoogleTest, closed by the line "N passed, N failed" that the
// test scripts read.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

class ClosingLine : public testing::EmptyTestEventListener {
  void OnTestProgramEnd(const testing::UnitTest& unit) override {
    std::printf("%d passed, %d failed\n", unit.successful_test_count(), unit.failed_test_count());
    std::fflush(stdout);
  }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new ClosingLine);
  return RUN_ALL_TESTS();
}
