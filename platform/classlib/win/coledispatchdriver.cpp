#include "platform/classlib/win/coledispatchdriver.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstdarg>
#include <cstring>
#include <vector>

#include "platform/classlib/win/coleexception.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

namespace {

constexpr VARTYPE kByRefVariant = VT_VARIANT | 0x40;  // VTS_PVARIANT's code

// Frees the text arguments made for one call, however the call ends.
class ArgumentTexts {
 public:
  ~ArgumentTexts() {
    for (BSTR text : texts_) ::SysFreeString(text);
  }
  BSTR Add(LPCTSTR text) {
    BSTR made = ::SysAllocString(text != nullptr ? text : L"");
    if (made == nullptr) AfxThrowMemoryException();
    texts_.push_back(made);
    return made;
  }

 private:
  std::vector<BSTR> texts_;
};

void FillArgument(VARIANTARG& arg, VARTYPE type, va_list& argList, ArgumentTexts& texts) {
  switch (type) {
    case VT_I2:
      arg.vt = VT_I2;
      arg.iVal = static_cast<short>(va_arg(argList, int));
      break;
    case VT_I4:
      arg.vt = VT_I4;
      arg.lVal = va_arg(argList, long);
      break;
    case VT_BSTR:
      arg.vt = VT_BSTR;
      arg.bstrVal = texts.Add(va_arg(argList, LPCTSTR));
      break;
    case VT_DISPATCH:
      arg.vt = VT_DISPATCH;
      arg.pdispVal = va_arg(argList, LPDISPATCH);
      break;
    case VT_BOOL:
      arg.vt = VT_BOOL;
      arg.boolVal = va_arg(argList, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case kByRefVariant:
      arg.vt = VT_VARIANT | VT_BYREF;
      arg.pvarVal = va_arg(argList, VARIANT*);
      break;
    default:
      AfxThrowOleException(E_INVALIDARG);
  }
}

[[noreturn]] void ThrowFromExcepInfo(EXCEPINFO& info) {
  if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
  auto* e = new COleDispatchException(info.bstrDescription != nullptr ? info.bstrDescription : L"",
                                      info.dwHelpContext, info.wCode);
  e->m_scError = info.scode != 0 ? info.scode : DISP_E_EXCEPTION;
  if (info.bstrSource != nullptr) e->m_strSource = info.bstrSource;
  ::SysFreeString(info.bstrSource);
  ::SysFreeString(info.bstrDescription);
  ::SysFreeString(info.bstrHelpFile);
  throw e;
}

// Moves the call's result into the caller's variable of the asked type.
void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet) {
  if (vtRet != VT_VARIANT && result.vt != vtRet) {
    const HRESULT hr = ::VariantChangeType(&result, &result, 0, vtRet);
    if (FAILED(hr)) {
      ::VariantClear(&result);
      AfxThrowOleException(hr);
    }
  }
  switch (vtRet) {
    case VT_I2:
      *static_cast<short*>(pvRet) = result.iVal;
      break;
    case VT_I4:
      *static_cast<long*>(pvRet) = result.lVal;
      break;
    case VT_BOOL:
      *static_cast<BOOL*>(pvRet) = result.boolVal != VARIANT_FALSE;
      break;
    case VT_BSTR:
      *static_cast<CString*>(pvRet) = result.bstrVal != nullptr ? CString(result.bstrVal) : CString();
      break;
    case VT_DISPATCH:
      *static_cast<LPDISPATCH*>(pvRet) = result.pdispVal;  // the caller owns the reference
      result.vt = VT_EMPTY;
      break;
    case VT_VARIANT:
      *static_cast<VARIANT*>(pvRet) = result;  // the caller owns what it holds
      result.vt = VT_EMPTY;
      break;
    default:
      ::VariantClear(&result);
      AfxThrowOleException(E_INVALIDARG);
  }
  ::VariantClear(&result);
}

}  // namespace

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease) {}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& other)
    : m_lpDispatch(other.m_lpDispatch), m_bAutoRelease(TRUE) {
  if (m_lpDispatch != nullptr) m_lpDispatch->AddRef();
}

COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& other) {
  if (this == &other) return *this;
  if (other.m_lpDispatch != nullptr) other.m_lpDispatch->AddRef();
  ReleaseDispatch();
  m_lpDispatch = other.m_lpDispatch;
  m_bAutoRelease = TRUE;
  return *this;
}

COleDispatchDriver& COleDispatchDriver::operator=(LPDISPATCH lpDispatch) {
  AttachDispatch(lpDispatch, TRUE);
  return *this;
}

COleDispatchDriver::~COleDispatchDriver() { ReleaseDispatch(); }

BOOL COleDispatchDriver::CreateDispatch(LPCTSTR lpszProgID, SCODE* pError) {
  ReleaseDispatch();
  CLSID clsid{};
  HRESULT hr = ::CLSIDFromProgID(lpszProgID, &clsid);
  LPDISPATCH dispatch = nullptr;
  if (SUCCEEDED(hr)) {
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(&dispatch));
  }
  if (pError != nullptr) *pError = hr;
  if (FAILED(hr) || dispatch == nullptr) return FALSE;
  AttachDispatch(dispatch, TRUE);
  return TRUE;
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease) {
  if (lpDispatch == m_lpDispatch) {
    m_bAutoRelease = bAutoRelease;
    return;
  }
  ReleaseDispatch();
  m_lpDispatch = lpDispatch;
  m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch() {
  LPDISPATCH dispatch = m_lpDispatch;
  m_lpDispatch = nullptr;
  return dispatch;
}

void COleDispatchDriver::ReleaseDispatch() {
  if (m_lpDispatch != nullptr && m_bAutoRelease) m_lpDispatch->Release();
  m_lpDispatch = nullptr;
}

DISPID COleDispatchDriver::GetIDOfName(LPCTSTR lpszName) {
  if (m_lpDispatch == nullptr) AfxThrowOleException(E_POINTER);
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR name = const_cast<LPOLESTR>(lpszName);
  if (FAILED(m_lpDispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return DISPID_UNKNOWN;
  return id;
}

void COleDispatchDriver::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                      const BYTE* pbParamInfo, ...) {
  va_list argList;
  va_start(argList, pbParamInfo);
  try {
    InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
  } catch (...) {
    va_end(argList);
    throw;
  }
  va_end(argList);
}

void COleDispatchDriver::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...) {
  const BYTE params[2] = {static_cast<BYTE>(vtProp), 0};
  va_list argList;
  va_start(argList, vtProp);
  try {
    InvokeHelperV(dwDispID, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, params, argList);
  } catch (...) {
    va_end(argList);
    throw;
  }
  va_end(argList);
}

void COleDispatchDriver::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                       const BYTE* pbParamInfo, va_list argList) {
  if (m_lpDispatch == nullptr) AfxThrowOleException(E_POINTER);
  const size_t count = pbParamInfo != nullptr ? std::strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
  std::vector<VARIANTARG> args(count);
  ArgumentTexts texts;
  // The server reads its arguments last to first.
  for (size_t i = 0; i < count; ++i) {
    VARIANTARG& arg = args[count - 1 - i];
    ::VariantInit(&arg);
    FillArgument(arg, pbParamInfo[i], argList, texts);
  }
  DISPPARAMS params{};
  params.cArgs = static_cast<UINT>(count);
  params.rgvarg = count != 0 ? args.data() : nullptr;
  DISPID putId = DISPID_PROPERTYPUT;
  if ((wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    params.cNamedArgs = 1;
    params.rgdispidNamedArgs = &putId;
  }
  VARIANT result;
  ::VariantInit(&result);
  EXCEPINFO info{};
  UINT argError = 0;
  const HRESULT hr = m_lpDispatch->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params,
                                          vtRet == VT_EMPTY ? nullptr : &result, &info, &argError);
  if (hr == DISP_E_EXCEPTION) ThrowFromExcepInfo(info);
  if (FAILED(hr)) AfxThrowOleException(hr);
  if (vtRet != VT_EMPTY && pvRet != nullptr) {
    StoreResult(result, vtRet, pvRet);
  } else {
    ::VariantClear(&result);
  }
}
