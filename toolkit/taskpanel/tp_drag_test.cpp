// The drag rules: what a drag offers, what a place accepts, the effect of Ctrl, where a drop lands; and
// the explorer blend and theme numbers of the paint managers.
#include "toolkit/taskpanel/tp_drag.h"

#include <gtest/gtest.h>

#include "toolkit/taskpanel/tp_color.h"

namespace taskpanel {
namespace {

TEST(TaskPanelDrag, TheDefaultFlagsOfferBothEffectsAndNoFlagsNothing) {
  EXPECT_EQ(SourceEffects(0xCC), kEffectCopy | kEffectMove);
  EXPECT_EQ(SourceEffects(0x20), kEffectMove);
  EXPECT_EQ(SourceEffects(0x08), kEffectCopy);
  EXPECT_EQ(SourceEffects(0), kEffectNone);
  EXPECT_EQ(SourceEffects(0x11), kEffectNone);  // bits that mean nothing
}

TEST(TaskPanelDrag, APlaceAcceptsWhatTheFlagsAllowThere) {
  // From another program: both, whatever the flags.
  DropRights outside = AllowedDrop(false, 0, true);
  EXPECT_TRUE(outside.copy && outside.move);
  // The default flags move and copy anywhere in the panel.
  DropRights all = AllowedDrop(true, 0xCC, true);
  EXPECT_TRUE(all.copy && all.move);
  // Within the group only: fine in the group, nothing in another.
  EXPECT_TRUE(AllowedDrop(true, 0x22, false).move);
  EXPECT_TRUE(AllowedDrop(true, 0x22, false).copy);
  EXPECT_FALSE(AllowedDrop(true, 0x22, true).Any());
  // Another group takes a move or copy only with the panel-wide right.
  EXPECT_TRUE(AllowedDrop(true, 0x40, true).move);
  EXPECT_FALSE(AllowedDrop(true, 0x20, true).move);
  EXPECT_TRUE(AllowedDrop(true, 0x04, true).copy);
  EXPECT_FALSE(AllowedDrop(true, 0x02, true).copy);
  // Both the in-group and the panel-wide move: another group still takes the move.
  EXPECT_TRUE(AllowedDrop(true, 0x60, true).move);
  EXPECT_FALSE(AllowedDrop(true, 0x60, true).copy);
  // Only leaving the panel is allowed: nothing inside it.
  EXPECT_FALSE(AllowedDrop(true, 0x88, false).Any());
}

TEST(TaskPanelDrag, CtrlCopiesWhereBothAreAllowed) {
  const DropRights both{true, true}, copyOnly{true, false}, moveOnly{false, true};
  EXPECT_EQ(DropEffectFor(false, both, false), kEffectNone);
  EXPECT_EQ(DropEffectFor(true, DropRights{false, false}, false), kEffectNone);
  EXPECT_EQ(DropEffectFor(true, both, false), kEffectMove);
  EXPECT_EQ(DropEffectFor(true, both, true), kEffectCopy);
  EXPECT_EQ(DropEffectFor(true, copyOnly, false), kEffectCopy);
  EXPECT_EQ(DropEffectFor(true, moveOnly, true), kEffectMove);
}

TEST(TaskPanelDrag, ADropLandsBeforeTheTargetOrAfterItAndAPressBecomesADragPastFourPixels) {
  EXPECT_EQ(DropIndex(3, false), 3);
  EXPECT_EQ(DropIndex(3, true), 4);
  EXPECT_FALSE(IsDragDistance(2, -2));
  EXPECT_TRUE(IsDragDistance(-3, 2));
  EXPECT_TRUE(IsDragDistance(0, 5));
}

TEST(TaskPanelTheme, TheExplorerBlendTruncatesPerChannelAndOddNumbersGiveTheExplorerLook) {
  EXPECT_EQ(Blend255(0x00FFFFFF, 0x00000000, 128), 0x00808080u);
  EXPECT_EQ(Blend255(0x000000FF, 0x00FF0000, 255), 0x000000FFu);
  EXPECT_EQ(Blend255(0x000000FF, 0x00FF0000, 0), 0x00FF0000u);
  // (200 x 92 + 100 x 163) / 255 = 136.09..., truncated.
  EXPECT_EQ(tkcolor::RedOf(Blend255(200, 100, 92)), 136);
  EXPECT_EQ(ThemeForNumber(0), 0);
  EXPECT_EQ(ThemeForNumber(12), 12);
  EXPECT_EQ(ThemeForNumber(13), 2);
  EXPECT_EQ(ThemeForNumber(-1), 2);
}

}  // namespace
}  // namespace taskpanel
