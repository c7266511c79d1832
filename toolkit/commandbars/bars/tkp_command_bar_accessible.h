// What a screen reader learns of a command bar: a menu bar, toolbar or popup menu named by its title,
// whose children are its controls (each answering for itself), with their places and states. The bar
// answers WM_GETOBJECT with this object, which it owns.
#pragma once

#include "toolkit/common/tkp_accessible.h"

class CTKPCommandBar;

class CTKPCommandBarAccessible : public CCmdTarget, public CTKPAccessible {
 public:
  explicit CTKPCommandBarAccessible(CTKPCommandBar* pBar) : m_pBar(pBar) {}
  CCmdTarget* GetOwnerCmdTarget() override { return this; }
  LPUNKNOWN GetInterface(REFIID riid) override { return GetAccessibleInterface(riid); }

  HRESULT AccGetParent(IDispatch** ppdispParent) override;
  HRESULT AccGetChildCount(long* pcountChildren) override;
  HRESULT AccGetChild(VARIANT varChild, IDispatch** ppdispChild) override;
  HRESULT AccGetName(VARIANT varChild, BSTR* pszName) override;
  HRESULT AccGetRole(VARIANT varChild, VARIANT* pvarRole) override;
  HRESULT AccGetState(VARIANT varChild, VARIANT* pvarState) override;
  HRESULT AccLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
  HRESULT AccHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;

 private:
  // The child number of the VARIANT: 0 the bar, 1 to the control count a control; -1 for anything else.
  long Child(const VARIANT& child) const;
  CTKPCommandBar* m_pBar;
};

// WM_GETOBJECT of a bar: its accessible object (made on first use) for the client and menu ids.
LRESULT TKPCommandBarGetObject(CTKPCommandBar* pBar, CTKPCommandBarAccessible*& pAccessible, WPARAM wParam,
                               LPARAM lParam);
