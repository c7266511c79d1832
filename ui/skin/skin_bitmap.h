// A bitmap that draws itself with one colour left out (the skin's banner on the command bars).
#pragma once

#include "platform/classlib/win/cgdiobject.h"

class CDC;

namespace skin {

class SkinBitmap : public CBitmap {
 public:
  SkinBitmap() = default;

  int GetWidth() const;
  int GetHeight() const;
  // Draws the whole bitmap at (x, y); pixels of the transparent colour leave the target as it was.
  virtual void DrawTransparent(CDC* dc, int x, int y, COLORREF transparent);

  // The target's text and background colours while a transparent draw runs (they shape the mask).
  COLORREF m_textColour = 0x000000;
  COLORREF m_backgroundColour = 0xFFFFFF;
};

}  // namespace skin
