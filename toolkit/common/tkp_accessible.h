// CTKPAccessible: lets toolkit objects that are not windows of their own answer screen readers. A class
// derives from it, overrides the operations it supports and names its owning command target; the mix-in
// supplies the IAccessible interface, default answers and the system entry points, each found by name at
// run time so that the program starts where they are missing.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccmdtarget.h"

class CTKPAccessible : public IAccessible {
 public:
  CTKPAccessible();
  virtual ~CTKPAccessible() = default;

  virtual HRESULT AccGetParent(IDispatch** ppdispParent);
  virtual HRESULT AccGetChildCount(long* pcountChildren);
  virtual HRESULT AccGetChild(VARIANT varChild, IDispatch** ppdispChild);
  virtual HRESULT AccGetName(VARIANT varChild, BSTR* pszName);
  virtual HRESULT AccGetValue(VARIANT varChild, BSTR* pszValue);
  virtual HRESULT AccGetDescription(VARIANT varChild, BSTR* pszDescription);
  virtual HRESULT AccGetRole(VARIANT varChild, VARIANT* pvarRole);
  virtual HRESULT AccGetState(VARIANT varChild, VARIANT* pvarState);
  virtual HRESULT AccGetHelp(VARIANT varChild, BSTR* pszHelp);
  virtual HRESULT AccGetHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic);
  virtual HRESULT AccGetKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut);
  virtual HRESULT AccGetFocus(VARIANT* pvarChild);
  virtual HRESULT AccGetSelection(VARIANT* pvarChildren);
  virtual HRESULT AccGetDefaultAction(VARIANT varChild, BSTR* pszDefaultAction);
  virtual HRESULT AccSelect(long flagsSelect, VARIANT varChild);
  virtual HRESULT AccLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild);
  virtual HRESULT AccNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt);
  virtual HRESULT AccHitTest(long xLeft, long yTop, VARIANT* pvarChild);
  virtual HRESULT AccDoDefaultAction(VARIANT varChild);
  virtual HRESULT AccPutName(VARIANT varChild, BSTR szName);
  virtual HRESULT AccPutValue(VARIANT varChild, BSTR szValue);
  // The object whose lifetime this interface shares; without one the interface answers no query.
  virtual CCmdTarget* GetOwnerCmdTarget();

  // The system entry points; E_FAIL (or nothing) where the system lacks them.
  static void AccessibleNotifyWinEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild);
  static HRESULT AccessibleObjectFromWindow(HWND hwnd, DWORD dwId, REFIID riid, void** ppvObject);
  static LRESULT LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk);

  // The child number a VARIANT carries (VT_I4, VT_I2, either by reference, or a VARIANT by reference
  // followed a few levels at most); -1 for anything else.
  static long GetChildIndex(const VARIANT* pVar);

  // What the owner's GetInterface answers for this object: its IAccessible for IUnknown, IDispatch and
  // IAccessible, null for anything else.
  LPUNKNOWN GetAccessibleInterface(REFIID riid);

  // IUnknown: the owner's query and reference count, so a client holding the interface holds the owner.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch: not supported.
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
  STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                      VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
  // IAccessible: forwarded to the operations above.
  STDMETHODIMP get_accParent(IDispatch** ppdispParent) override;
  STDMETHODIMP get_accChildCount(long* pcountChildren) override;
  STDMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
  STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
  STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
  STDMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
  STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
  STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
  STDMETHODIMP get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
  STDMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
  STDMETHODIMP get_accFocus(VARIANT* pvarChild) override;
  STDMETHODIMP get_accSelection(VARIANT* pvarChildren) override;
  STDMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
  STDMETHODIMP accSelect(long flagsSelect, VARIANT varChild) override;
  STDMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
  STDMETHODIMP accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
  STDMETHODIMP accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
  STDMETHODIMP accDoDefaultAction(VARIANT varChild) override;
  STDMETHODIMP put_accName(VARIANT varChild, BSTR szName) override;
  STDMETHODIMP put_accValue(VARIANT varChild, BSTR szValue) override;
};

// Hands the text to a client as a new BSTR: S_OK, or E_OUTOFMEMORY without one.
HRESULT TKPReturnAccText(const CString& text, BSTR* out);
