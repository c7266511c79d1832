// The plain texts of a skinned dialog's template drawn straight onto the skin: every static control that
// no other object has taken over yet becomes a transparent static.
#pragma once

#include <memory>
#include <vector>

#include <windows.h>

#include "ui/skin/transparent_controls.h"

class CWnd;

namespace app {

class SkinnedLabels {
 public:
  // Takes over the dialog's remaining static controls; call after the controls of one's own.
  void Attach(CWnd& dialog);

 private:
  std::vector<std::unique_ptr<skin::CTransparentStatic>> m_labels;
};

// The colour of a skin bitmap's pixel, for a control that must paint a background matching the skin.
COLORREF SkinBitmapPixel(UINT bitmapId, int x, int y);

}  // namespace app
