#include "toolkit/common/tkp_accessible.h"

#include <atomic>

#include "platform/os/library_win32.h"

namespace {

using NotifyWinEventFn = void(WINAPI*)(DWORD, HWND, LONG, LONG);
using ObjectFromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

std::atomic<NotifyWinEventFn> g_notifyWinEvent{nullptr};
std::atomic<ObjectFromWindowFn> g_objectFromWindow{nullptr};
std::atomic<LresultFromObjectFn> g_lresultFromObject{nullptr};

// A missing library or function is looked up again next time.
FARPROC FromOleacc(const char* name) {
  HMODULE module = os::LoadProgramOrSystemLibrary(L"oleacc.dll");
  return module != nullptr ? ::GetProcAddress(module, name) : nullptr;
}

template <typename Fn>
Fn Resolve(std::atomic<Fn>& slot, const char* name) {
  Fn fn = slot.load();
  if (fn == nullptr) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(FromOleacc(name)));
    slot.store(fn);
  }
  return fn;
}

// Deep enough for any real caller; a chain of references beyond it is refused, not followed for ever.
constexpr int kMaxReferenceDepth = 8;

}  // namespace

HRESULT TKPReturnAccText(const CString& text, BSTR* out) {
  *out = ::SysAllocString(text.GetString());
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

CTKPAccessible::CTKPAccessible() {
  if (g_notifyWinEvent.load() == nullptr) {
    HMODULE user = ::GetModuleHandleW(L"USER32");
    if (user != nullptr) {
      g_notifyWinEvent.store(
          reinterpret_cast<NotifyWinEventFn>(reinterpret_cast<void*>(::GetProcAddress(user, "NotifyWinEvent"))));
    }
  }
}

HRESULT CTKPAccessible::AccGetParent(IDispatch**) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetChildCount(long*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetChild(VARIANT, IDispatch**) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetName(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetValue(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetDescription(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetRole(VARIANT, VARIANT*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetState(VARIANT, VARIANT*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetHelp(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetHelpTopic(BSTR*, VARIANT, long*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetKeyboardShortcut(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccGetFocus(VARIANT*) { return S_FALSE; }
HRESULT CTKPAccessible::AccGetSelection(VARIANT*) { return S_FALSE; }
HRESULT CTKPAccessible::AccGetDefaultAction(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccSelect(long, VARIANT) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccLocation(long*, long*, long*, long*, VARIANT) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccNavigate(long, VARIANT, VARIANT*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccHitTest(long, long, VARIANT*) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccDoDefaultAction(VARIANT) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccPutName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT CTKPAccessible::AccPutValue(VARIANT, BSTR) { return E_NOTIMPL; }
CCmdTarget* CTKPAccessible::GetOwnerCmdTarget() { return nullptr; }

void CTKPAccessible::AccessibleNotifyWinEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild) {
  if (NotifyWinEventFn fn = g_notifyWinEvent.load()) fn(event, hwnd, idObject, idChild);
}

HRESULT CTKPAccessible::AccessibleObjectFromWindow(HWND hwnd, DWORD dwId, REFIID riid, void** ppvObject) {
  ObjectFromWindowFn fn = Resolve(g_objectFromWindow, "AccessibleObjectFromWindow");
  return fn != nullptr ? fn(hwnd, dwId, riid, ppvObject) : E_FAIL;
}

LRESULT CTKPAccessible::LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk) {
  LresultFromObjectFn fn = Resolve(g_lresultFromObject, "LresultFromObject");
  return fn != nullptr ? fn(riid, wParam, punk) : E_FAIL;
}

long CTKPAccessible::GetChildIndex(const VARIANT* pVar) {
  for (int depth = 0; pVar != nullptr && depth <= kMaxReferenceDepth; ++depth) {
    switch (pVar->vt) {
      case VT_I4: return pVar->lVal;
      case VT_I2: return pVar->iVal;
      case VT_I4 | VT_BYREF: return pVar->plVal != nullptr ? *pVar->plVal : -1;
      case VT_I2 | VT_BYREF: return pVar->piVal != nullptr ? *pVar->piVal : -1;
      case VT_VARIANT | VT_BYREF: pVar = pVar->pvarVal; break;
      default: return -1;
    }
  }
  return -1;
}

LPUNKNOWN CTKPAccessible::GetAccessibleInterface(REFIID riid) {
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
    return static_cast<IAccessible*>(this);
  }
  return nullptr;
}

STDMETHODIMP CTKPAccessible::QueryInterface(REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  *ppvObject = nullptr;
  CCmdTarget* owner = GetOwnerCmdTarget();
  return owner != nullptr ? owner->ExternalQueryInterface(riid, ppvObject) : E_NOINTERFACE;
}

// Without an owner there is nothing to keep alive: the count stays at one.
STDMETHODIMP_(ULONG) CTKPAccessible::AddRef() {
  CCmdTarget* owner = GetOwnerCmdTarget();
  return owner != nullptr ? owner->ExternalAddRef() : 1;
}
STDMETHODIMP_(ULONG) CTKPAccessible::Release() {
  CCmdTarget* owner = GetOwnerCmdTarget();
  return owner != nullptr ? owner->ExternalRelease() : 1;
}

STDMETHODIMP CTKPAccessible::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP CTKPAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CTKPAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP CTKPAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

STDMETHODIMP CTKPAccessible::get_accParent(IDispatch** p) { return AccGetParent(p); }
STDMETHODIMP CTKPAccessible::get_accChildCount(long* p) { return AccGetChildCount(p); }
STDMETHODIMP CTKPAccessible::get_accChild(VARIANT v, IDispatch** p) { return AccGetChild(v, p); }
STDMETHODIMP CTKPAccessible::get_accName(VARIANT v, BSTR* p) { return AccGetName(v, p); }
STDMETHODIMP CTKPAccessible::get_accValue(VARIANT v, BSTR* p) { return AccGetValue(v, p); }
STDMETHODIMP CTKPAccessible::get_accDescription(VARIANT v, BSTR* p) { return AccGetDescription(v, p); }
STDMETHODIMP CTKPAccessible::get_accRole(VARIANT v, VARIANT* p) { return AccGetRole(v, p); }
STDMETHODIMP CTKPAccessible::get_accState(VARIANT v, VARIANT* p) { return AccGetState(v, p); }
STDMETHODIMP CTKPAccessible::get_accHelp(VARIANT v, BSTR* p) { return AccGetHelp(v, p); }
STDMETHODIMP CTKPAccessible::get_accHelpTopic(BSTR* f, VARIANT v, long* p) { return AccGetHelpTopic(f, v, p); }
STDMETHODIMP CTKPAccessible::get_accKeyboardShortcut(VARIANT v, BSTR* p) { return AccGetKeyboardShortcut(v, p); }
// A caller reading the output after S_FALSE finds it empty rather than uninitialised.
STDMETHODIMP CTKPAccessible::get_accFocus(VARIANT* p) {
  if (p != nullptr) ::VariantInit(p);
  return AccGetFocus(p);
}
STDMETHODIMP CTKPAccessible::get_accSelection(VARIANT* p) {
  if (p != nullptr) ::VariantInit(p);
  return AccGetSelection(p);
}
STDMETHODIMP CTKPAccessible::get_accDefaultAction(VARIANT v, BSTR* p) { return AccGetDefaultAction(v, p); }
STDMETHODIMP CTKPAccessible::accSelect(long f, VARIANT v) { return AccSelect(f, v); }
STDMETHODIMP CTKPAccessible::accLocation(long* x, long* y, long* w, long* h, VARIANT v) {
  return AccLocation(x, y, w, h, v);
}
STDMETHODIMP CTKPAccessible::accNavigate(long d, VARIANT s, VARIANT* p) { return AccNavigate(d, s, p); }
STDMETHODIMP CTKPAccessible::accHitTest(long x, long y, VARIANT* p) { return AccHitTest(x, y, p); }
STDMETHODIMP CTKPAccessible::accDoDefaultAction(VARIANT v) { return AccDoDefaultAction(v); }
STDMETHODIMP CTKPAccessible::put_accName(VARIANT v, BSTR n) { return AccPutName(v, n); }
STDMETHODIMP CTKPAccessible::put_accValue(VARIANT v, BSTR n) { return AccPutValue(v, n); }
