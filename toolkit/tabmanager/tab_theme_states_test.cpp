// The visual-style states of themed tabs and navigation buttons.
#include "toolkit/tabmanager/tab_theme_states.h"

#include <gtest/gtest.h>

namespace tktab {
namespace {

TEST(TabThemeStates, TabsAndNavigationButtonsTakeTheirStates) {
  EXPECT_EQ(ThemedTabState(true, true), 3);
  EXPECT_EQ(ThemedTabState(false, true), 5);
  EXPECT_EQ(ThemedTabState(false, false), 1);
  // An enabled button always has its face, the normal one too; a disabled one none.
  EXPECT_EQ(ThemedNavigateButtonState(true, false, false), 1);
  EXPECT_EQ(ThemedNavigateButtonState(true, false, true), 2);
  EXPECT_EQ(ThemedNavigateButtonState(true, true, true), 3);
  EXPECT_EQ(ThemedNavigateButtonState(true, true, false), 3);
  EXPECT_EQ(ThemedNavigateButtonState(false, true, true), 0);
}

TEST(TabThemeStates, StateButtonTabsAreCheckedToolbarButtons) {
  EXPECT_EQ(ThemedStateButtonState(true, false), 5);
  EXPECT_EQ(ThemedStateButtonState(true, true), 6);
  EXPECT_EQ(ThemedStateButtonState(false, true), 2);
  EXPECT_EQ(ThemedStateButtonState(false, false), 0);  // the separator only
}

}  // namespace
}  // namespace tktab
