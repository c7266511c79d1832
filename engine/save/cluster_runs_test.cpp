#include "engine/save/cluster_runs.h"

#include <gtest/gtest.h>

namespace {

// Runs [2, 5), [5, 7) (joined with it), [10, 12) and an empty [20, 20); asked in any order.
TEST(ClusterRunsTest, JoinedRunsAnswerAtTheirEdges) {
  save::ClusterRuns runs;
  EXPECT_TRUE(runs.Empty());
  runs.Add(10, 12);
  runs.Add(5, 7);
  runs.Add(20, 20);
  runs.Add(2, 5);
  runs.Seal();
  struct Case {
    uint64_t first, count;
    bool meets;
  } cases[] = {{0, 2, false}, {0, 3, true}, {1, 1, false}, {2, 1, true}, {6, 1, true}, {7, 3, false},
               {7, 4, true},  {11, 1, true}, {12, 8, false}, {20, 1, false}, {9, 0, false}, {3, 0, false}};
  for (const Case& c : cases) EXPECT_EQ(runs.Meets(c.first, c.count), c.meets) << c.first << "+" << c.count;
  runs.Clear();
  EXPECT_FALSE(runs.Meets(2, 10));
}

}  // namespace
