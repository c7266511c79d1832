// A stand-in Office for the tests: an in-process automation server answering as "Word.Application" and
// "Powerpoint.Application" to the members the preview uses. It writes a line for every call, with its
// arguments, to the file named by DORVANE_FAKE_OFFICE_LOG; Word's SaveAs writes a small RTF file and
// PowerPoint's SaveAs writes GIF slides "Slide1.GIF" .. into the folder named after the target without
// its extension: two, or DORVANE_FAKE_OFFICE_SLIDES of them, slide i with the red 15 * i in its title
// band. DORVANE_FAKE_OFFICE_FAIL names a member that reports an error instead ("NoOutput": SaveAs
// succeeds but writes nothing). Built for the tests only; the program never loads it itself.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

namespace {

// {5B0E4C1A-7D3F-4E21-9A8B-1F2E3D4C5B61} and {5B0E4C1A-7D3F-4E21-9A8B-1F2E3D4C5B62}
const CLSID kWordClsid = {0x5B0E4C1A, 0x7D3F, 0x4E21, {0x9A, 0x8B, 0x1F, 0x2E, 0x3D, 0x4C, 0x5B, 0x61}};
const CLSID kPowerPointClsid = {0x5B0E4C1A, 0x7D3F, 0x4E21, {0x9A, 0x8B, 0x1F, 0x2E, 0x3D, 0x4C, 0x5B, 0x62}};
constexpr DISPID kAutomationSecurityId = 0x7001;

LONG g_objects = 0;

std::wstring Env(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD n = ::GetEnvironmentVariableW(name, value, 1024);
  return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

bool Failing(const wchar_t* member) { return Env(L"DORVANE_FAKE_OFFICE_FAIL") == member; }

// DORVANE_FAKE_OFFICE_SLIDES (1 to 99) slides, else 2.
int SlideCount() {
  const int n = std::wcstol(Env(L"DORVANE_FAKE_OFFICE_SLIDES").c_str(), nullptr, 10);
  return n >= 1 && n <= 99 ? n : 2;
}

void Log(const std::wstring& line) {
  const std::wstring path = Env(L"DORVANE_FAKE_OFFICE_LOG");
  if (path.empty()) return;
  FILE* file = _wfopen(path.c_str(), L"ab");
  if (file == nullptr) return;
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                          nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                        nullptr);
  utf8 += '\n';
  fwrite(utf8.data(), 1, utf8.size(), file);
  fclose(file);
}

std::wstring Describe(const VARIANT& v) {
  if (v.vt == (VT_VARIANT | VT_BYREF)) return L"&" + Describe(*v.pvarVal);
  switch (v.vt) {
    case VT_I2: return L"I2:" + std::to_wstring(v.iVal);
    case VT_I4: return L"I4:" + std::to_wstring(v.lVal);
    case VT_BSTR: return L"BSTR:" + std::wstring(v.bstrVal != nullptr ? v.bstrVal : L"");
    case VT_ERROR: return v.scode == DISP_E_PARAMNOTFOUND ? L"MISSING" : L"ERROR";
    default: return L"VT" + std::to_wstring(v.vt);
  }
}

// The arguments in the caller's order (DISPPARAMS holds them last to first).
std::vector<const VARIANT*> Arguments(const DISPPARAMS* params) {
  std::vector<const VARIANT*> args;
  for (UINT i = params->cArgs; i > 0; --i) args.push_back(&params->rgvarg[i - 1]);
  return args;
}

std::wstring ArgumentList(const DISPPARAMS* params) {
  std::wstring text = L"(";
  const auto args = Arguments(params);
  for (size_t i = 0; i < args.size(); ++i) text += (i ? L"," : L"") + Describe(*args[i]);
  return text + L")";
}

const VARIANT& Deref(const VARIANT& v) { return v.vt == (VT_VARIANT | VT_BYREF) ? *v.pvarVal : v; }

std::wstring TextArgument(const DISPPARAMS* params, size_t index) {
  const auto args = Arguments(params);
  if (index >= args.size()) return L"";
  const VARIANT& v = Deref(*args[index]);
  return v.vt == VT_BSTR && v.bstrVal != nullptr ? v.bstrVal : L"";
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

// A slide of w x h pixels: a title band in the accent colour over a white page with grey text lines.
// LZW with 8-bit codes throughout: a clear code before the table would widen them.
std::string SlideGif(int w, int h, unsigned char accent) {
  std::string g = "GIF89a";
  auto put16 = [&g](int v) {
    g += static_cast<char>(v & 0xFF);
    g += static_cast<char>((v >> 8) & 0xFF);
  };
  put16(w);
  put16(h);
  g += static_cast<char>(0xF6);  // global table of 128 colours
  g += '\0';
  g += '\0';
  for (int i = 0; i < 128; ++i) {
    const unsigned char rgb[4][3] = {{255, 255, 255}, {accent, 90, 160}, {190, 196, 206}, {40, 50, 70}};
    const unsigned char* c = rgb[i < 4 ? i : 0];
    g.append(reinterpret_cast<const char*>(c), 3);
  }
  g += ',';
  put16(0);
  put16(0);
  put16(w);
  put16(h);
  g += '\0';
  g += static_cast<char>(7);  // minimum code size: codes of 8 bits, clear 128, end 129
  std::string codes;
  int sinceClear = 0;
  codes += static_cast<char>(128);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned char p = 0;
      if (y < h / 4) p = 1;
      else if ((y - h / 3) % 8 < 3 && y > h / 3 && x > w / 8 && x < w - w / 4 - (y % 16)) p = 2;
      if (x == 0 || y == 0 || x == w - 1 || y == h - 1) p = 3;
      codes += static_cast<char>(p);
      if (++sinceClear == 120) {
        codes += static_cast<char>(128);
        sinceClear = 0;
      }
    }
  }
  codes += static_cast<char>(129);
  for (size_t at = 0; at < codes.size(); at += 255) {
    const size_t n = std::min<size_t>(255, codes.size() - at);
    g += static_cast<char>(n);
    g += codes.substr(at, n);
  }
  g += '\0';
  g += ';';
  return g;
}

enum class Kind { kWordApp, kWordDocuments, kWordDocument, kPptApp, kPptPresentations, kPptPresentation };

HRESULT Fail(EXCEPINFO* info, const wchar_t* what) {
  if (info != nullptr) {
    *info = EXCEPINFO{};
    info->bstrSource = ::SysAllocString(L"Fake Office");
    info->bstrDescription = ::SysAllocString(what);
    info->scode = E_FAIL;
  }
  return DISP_E_EXCEPTION;
}

// One interface with its reference count; the object goes with its last reference.
template <class Interface>
class Counted : public Interface {
 public:
  explicit Counted(REFIID own) : own_(own) {}
  virtual ~Counted() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == own_) {
      *out = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) {
      Released();
      delete this;
    }
    return static_cast<ULONG>(left);
  }

 protected:
  virtual void Released() {}

 private:
  IID own_;
  LONG refs_ = 1;
};

class FakeObject : public Counted<IDispatch> {
 public:
  explicit FakeObject(Kind kind) : Counted(IID_IDispatch), kind_(kind) { ::InterlockedIncrement(&g_objects); }
  ~FakeObject() override { ::InterlockedDecrement(&g_objects); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    const bool application = kind_ == Kind::kWordApp || kind_ == Kind::kPptApp;
    if (count == 1 && application && lstrcmpiW(names[0], L"AutomationSecurity") == 0 &&
        !Failing(L"NoSecurity")) {
      ids[0] = kAutomationSecurityId;
      return S_OK;
    }
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT*) override;

 private:
  std::wstring Name() const {
    switch (kind_) {
      case Kind::kWordApp: return L"Word";
      case Kind::kWordDocuments: return L"Word.Documents";
      case Kind::kWordDocument: return L"Word.Document";
      case Kind::kPptApp: return L"PowerPoint";
      case Kind::kPptPresentations: return L"PowerPoint.Presentations";
      case Kind::kPptPresentation: return L"PowerPoint.Presentation";
    }
    return L"?";
  }
  static HRESULT Give(VARIANT* result, Kind kind) {
    if (result == nullptr) return S_OK;
    result->vt = VT_DISPATCH;
    result->pdispVal = new FakeObject(kind);
    return S_OK;
  }
  HRESULT Member(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info);
  void Released() override { Log(Name() + L".Released"); }

  Kind kind_;
};

HRESULT STDMETHODCALLTYPE FakeObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                             VARIANT* result, EXCEPINFO* info, UINT*) {
  if (params == nullptr) return E_INVALIDARG;
  if (result != nullptr) ::VariantInit(result);
  if (id == kAutomationSecurityId && (flags & DISPATCH_PROPERTYPUT) != 0) {
    Log(Name() + L".AutomationSecurity=" + (params->cArgs == 1 ? Describe(params->rgvarg[0]) : L"?"));
    return Failing(L"AutomationSecurity") ? Fail(info, L"Security cannot be set.") : S_OK;
  }
  return Member(id, flags, params, result, info);
}

HRESULT FakeObject::Member(DISPID id, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) {
  const std::wstring args = ArgumentList(params);
  auto call = [&](const wchar_t* member) {
    Log(Name() + L"." + member + args);
    return !Failing(member);
  };
  switch (kind_) {
    case Kind::kWordApp:
      if (id == 6) return call(L"Documents") ? Give(result, Kind::kWordDocuments) : Fail(info, L"No documents.");
      if (id == 1105) return call(L"Quit") ? S_OK : Fail(info, L"Quit failed.");
      break;
    case Kind::kWordDocuments:
      if (id == 11) return call(L"Add") ? Give(result, Kind::kWordDocument) : Fail(info, L"Add failed.");
      if (id == 12) return call(L"Open") ? Give(result, Kind::kWordDocument) : Fail(info, L"The file is damaged.");
      break;
    case Kind::kWordDocument:
      if (id == 1105) return call(L"Close") ? S_OK : Fail(info, L"Close failed.");
      if (id == 102) {
        if (!call(L"SaveAs")) return Fail(info, L"Save failed.");
        if (!Failing(L"NoOutput")) WriteBytes(TextArgument(params, 0), "{\\rtf1\\ansi Converted by Fake Office.\\par}");
        return S_OK;
      }
      break;
    case Kind::kPptApp:
      if (id == 2001) {
        return call(L"Presentations") ? Give(result, Kind::kPptPresentations) : Fail(info, L"No presentations.");
      }
      if (id == 2021) return call(L"Quit") ? S_OK : Fail(info, L"Quit failed.");
      break;
    case Kind::kPptPresentations:
      if (id == 2004) {
        return call(L"Open") ? Give(result, Kind::kPptPresentation) : Fail(info, L"The file is damaged.");
      }
      break;
    case Kind::kPptPresentation:
      if (id == 2036) {
        if (!call(L"SaveAs")) return Fail(info, L"Save failed.");
        std::wstring folder = TextArgument(params, 0);
        const size_t dot = folder.find_last_of(L'.');
        if (dot != std::wstring::npos) folder.resize(dot);
        if (!Failing(L"NoOutput")) {
          ::CreateDirectoryW(folder.c_str(), nullptr);
          const int slides = SlideCount();
          for (int i = 1; i <= slides; ++i) {
            const int accent = slides == 2 ? (i == 1 ? 40 : 200) : 15 * i;
            WriteBytes(folder + L"\\Slide" + std::to_wstring(i) + L".GIF",
                       SlideGif(160, 120, static_cast<unsigned char>(accent)));
          }
        }
        return S_OK;
      }
      break;
  }
  Log(Name() + L".Unknown" + std::to_wstring(id) + args);
  return DISP_E_MEMBERNOTFOUND;
}

class Factory : public Counted<IClassFactory> {
 public:
  explicit Factory(Kind kind) : Counted(IID_IClassFactory), kind_(kind) {}
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    Log(std::wstring(kind_ == Kind::kWordApp ? L"Word" : L"PowerPoint") + L".Create");
    if (Failing(L"Create")) return E_FAIL;
    auto* object = new FakeObject(kind_);
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  Kind kind_;
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  Kind kind;
  if (clsid == kWordClsid) {
    kind = Kind::kWordApp;
  } else if (clsid == kPowerPointClsid) {
    kind = Kind::kPptApp;
  } else {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  auto* factory = new Factory(kind);
  const HRESULT hr = factory->QueryInterface(riid, out);
  factory->Release();
  return hr;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }
