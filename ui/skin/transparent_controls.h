// A static text and a push button that let the skinned background show through.
#pragma once

#include "platform/classlib/win/cbutton.h"
#include "platform/classlib/win/cstatic.h"
#include "platform/classlib/win/msgmap.h"

namespace skin {

class CTransparentStatic : public CStatic {
 public:
  CTransparentStatic() = default;

 protected:
  HBRUSH CtlColor(CDC* dc, UINT colourType);
  // A new text repaints the parent's background under the control first, so no trace of a longer text
  // stays behind.
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class CTransparentButtonCtrl : public CButton {
 public:
  CTransparentButtonCtrl() = default;

 protected:
  HBRUSH CtlColor(CDC* dc, UINT colourType);
  BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()
};

}  // namespace skin
