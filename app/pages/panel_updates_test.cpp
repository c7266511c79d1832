#include "app/pages/panel_updates.h"

#include <gtest/gtest.h>

TEST(PanelUpdates, OneMessageCarriesTheLatestOfEveryValue) {
  PanelUpdates updates;
  EXPECT_TRUE(updates.SetPosition(3));
  EXPECT_FALSE(updates.SetPosition(7));
  EXPECT_FALSE(updates.SetStatus(u"Reading Sector 20 Of 100"));
  EXPECT_FALSE(updates.SetRow(2, u"50"));
  EXPECT_FALSE(updates.SetRow(2, u"100"));
  EXPECT_FALSE(updates.SetRow(0, u"no such row"));
  EXPECT_FALSE(updates.SetRow(scanpage::kPanelRows + 1, u"no such row"));

  PanelUpdates::Batch batch = updates.Take();
  EXPECT_EQ(batch.position, 7u);
  EXPECT_EQ(batch.status, u"Reading Sector 20 Of 100");
  EXPECT_EQ(batch.rows[1], u"100");
  EXPECT_FALSE(batch.rows[0].has_value());

  // Taken: nothing waits, and the next report posts again.
  EXPECT_FALSE(updates.Take().position.has_value());
  EXPECT_TRUE(updates.SetRow(1, u"1"));
}

TEST(PanelUpdates, DroppedRowsAndFailedPosts) {
  PanelUpdates updates;
  EXPECT_TRUE(updates.SetRow(5, u"old name"));
  updates.DropRows();
  EXPECT_FALSE(updates.Take().rows[4].has_value());

  EXPECT_TRUE(updates.SetPosition(1));
  updates.PostFailed();
  EXPECT_TRUE(updates.SetPosition(2));
  EXPECT_EQ(updates.Take().position, 2u);
}
