// The main window's status bar: a message pane and a stretching pane with a "Contact Support" link.
#pragma once

#include "platform/classlib/win/cstatusbar.h"
#include "platform/classlib/win/msgmap.h"

namespace ui {

// The program's own support page.
extern const char16_t kSupportPage[];

class LinkStatusBar : public CStatusBar {
 public:
  LinkStatusBar() = default;
  // Pane 0 takes width / 2 + 270; pane 1 (id 101) stretches over the rest and holds the link.
  void SetPaneWidths(int width);
  void DrawItem(LPDRAWITEMSTRUCT item) override;
  CSize LinkTextSize() const { return m_linkSize; }

 protected:
  void OnLButtonUp(UINT flags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  CSize m_linkSize{0, 0};
};

}  // namespace ui
