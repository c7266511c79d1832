#include "toolkit/tabmanager/tab_theme_states.h"

namespace tktab {

int ThemedTabState(bool selected, bool hot) { return selected ? 3 : hot ? 5 : 1; }

int ThemedNavigateButtonState(bool enabled, bool pressed, bool hot) {
  if (!enabled) return 0;
  return pressed ? 3 : hot ? 2 : 1;
}

int ThemedStateButtonState(bool selected, bool hot) {
  if (selected) return hot ? 6 : 5;
  return hot ? 2 : 0;
}

}  // namespace tktab
