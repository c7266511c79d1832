// CTKButton: the toolkit's themed push button (image page's "Browse"). For now the system's button; its icon
// stands a few pixels left of the caption rather than touching it.
#pragma once

#include "platform/classlib/win/cbutton.h"

class CTKButton : public CButton {
 public:
  // Between the icon and the caption.
  static constexpr int kIconGap = 4;

  CTKButton() = default;
  ~CTKButton() override;
  CTKButton(const CTKButton&) = delete;
  CTKButton& operator=(const CTKButton&) = delete;

  // Shows the icon left of the caption, kIconGap apart; the caller keeps owning the icon.
  void SetIcon(HICON icon);

 private:
  HIMAGELIST m_images = nullptr;
};
