// The visual-style states the themed colour set draws tabs and navigation buttons in.
#pragma once

namespace tktab {

// The "TAB" item state of a tab: 3 selected, 5 hot, 1 otherwise.
int ThemedTabState(bool selected, bool hot);
// The "TOOLBAR" button state of a navigation button: 3 pressed, 2 hot, 1 otherwise; 0 (no button face)
// for a disabled one.
int ThemedNavigateButtonState(bool enabled, bool pressed, bool hot);
// The "TOOLBAR" button state of a state-button tab: 6 selected and hot, 5 selected (checked), 2 hot; 0
// for any other tab, which keeps the plain etched separator.
int ThemedStateButtonState(bool selected, bool hot);

}  // namespace tktab
