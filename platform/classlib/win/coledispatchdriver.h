// COleDispatchDriver: holds an automation object's IDispatch and calls its members by dispatch id.
//
// InvokeHelper takes the member's parameter types as a string of VTS_ codes, one per argument that
// follows in the variable part, and the result's type (VT_EMPTY for none):
//
//   static const BYTE params[] = VTS_BSTR VTS_I4;
//   driver.InvokeHelper(2036, DISPATCH_METHOD, VT_EMPTY, nullptr, params, L"C:\\out.gif", 16L);
//
// A failure throws: COleDispatchException when the server reported an error, COleException otherwise.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

#include "platform/classlib/cstring.h"

// Parameter codes. Text is passed as LPCTSTR, VTS_I2 as short (promoted), VTS_I4 as long, VTS_BOOL as
// BOOL, VTS_DISPATCH as LPDISPATCH, VTS_PVARIANT as VARIANT* (handed to the server by reference).
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_BOOL "\x0B"
#define VTS_PVARIANT "\x4C"
#define VTS_NONE ""

class COleDispatchDriver {
 public:
  COleDispatchDriver() = default;
  // bAutoRelease: the driver releases the interface when it lets it go.
  explicit COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
  COleDispatchDriver(const COleDispatchDriver& other);
  COleDispatchDriver& operator=(const COleDispatchDriver& other);
  // Takes the interface over (the other driver lets it go).
  COleDispatchDriver& operator=(LPDISPATCH lpDispatch);
  virtual ~COleDispatchDriver();

  // Creates the object registered under the program id (local or in-process server); FALSE when
  // it cannot, with the status in *pError when given.
  BOOL CreateDispatch(LPCTSTR lpszProgID, SCODE* pError = nullptr);
  void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
  LPDISPATCH DetachDispatch();
  void ReleaseDispatch();

  void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...);
  // The dispatch id of a member named by text; DISPID_UNKNOWN when the object has no such member.
  DISPID GetIDOfName(LPCTSTR lpszName);
  void SetProperty(DISPID dwDispID, VARTYPE vtProp, ...);

  LPDISPATCH m_lpDispatch = nullptr;
  BOOL m_bAutoRelease = TRUE;

 private:
  void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                     va_list argList);
};
