// The look every dialog of the program shares: the window cut to its skin bitmap (key colour
// 0x00FF00), the skin drawn as the background, the title written white on the skin's caption band (the
// template's first control), static texts drawn straight onto the skin, and the band dragging the window.
#pragma once

#include "platform/classlib/win/cdialog.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/msgmap.h"
#include "ui/skin/skin_bitmap.h"
#include "ui/skin/transparent_controls.h"

namespace app {

// Text drawn white, for the caption band.
class CaptionStatic : public skin::CTransparentStatic {
 protected:
  HBRUSH CtlColor(CDC* dc, UINT colourType);
  DECLARE_MESSAGE_MAP()
};

class SkinnedDialog : public CDialog {
 public:
  SkinnedDialog(UINT templateId, UINT skinBitmapId, CWnd* parent);

  // The height of the skin's caption band, in pixels.
  static constexpr int kCaptionBand = 30;

 protected:
  // Puts on the skin; derived dialogs call it first.
  BOOL OnInitDialog() override;
  // The static control id is drawn on the skin from now on.
  void MakeTransparent(skin::CTransparentStatic& control, int id);
  // For a control that paints its own background (a read-only edit field): the skin under it as the brush to
  // paint with, its text drawn without a background of its own, so that it lies on the skin as the labels do.
  HBRUSH SkinUnder(CDC* dc, CWnd* control);

  BOOL OnEraseBkgnd(CDC* dc);
  LRESULT OnNcHitTest(CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  UINT m_skinBitmapId;
  skin::SkinBitmap m_skin;
  CBrush m_skinBrush;
  CaptionStatic m_caption;
  CFont m_captionFont;
};

}  // namespace app
