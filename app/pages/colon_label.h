// ColonLabel: a caption "Name   :" whose colon stands at a fixed column, whatever spaces or tabs the text
// carries before it (they were chosen for another font, so drawn as they are the colons would be uneven).
// The panels put the values at ValueX() from the captions' left, so they follow the colons closely.
#pragma once

#include "platform/classlib/win/classlib_win.h"

class ColonLabel : public CStatic {
 public:
  static constexpr int kColonX = 150;
  // From the colon's column to the values' column: the colon and a short gap.
  static constexpr int kValueGap = 16;

  // The colon's column, from the label's left; before the label is laid out.
  void SetColonX(int x) { m_colonX = x; }
  int ColonX() const { return m_colonX; }
  int ValueX() const { return m_colonX + kValueGap; }

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  int m_colonX = kColonX;
};
