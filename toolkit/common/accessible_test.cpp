// The accessibility mix-in: a screen reader's client (AccessibleObjectFromWindow) reads a toolkit
// window's name; default answers, the outputs on S_FALSE, and the child numbers of VARIANTs.
#include "toolkit/common/tkp_accessible.h"

#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"

namespace {

// An owner that carries an accessible object among its interfaces.
class CarryingTarget : public CCmdTarget {
 public:
  CTKPAccessible* accessible = nullptr;
  IUnknown* GetInterface(REFIID riid) override {
    return accessible != nullptr ? accessible->GetAccessibleInterface(riid) : nullptr;
  }
};

// A toolkit object that answers its name and hands itself to clients of its window.
class NamedAccessible : public CTKPAccessible {
 public:
  explicit NamedAccessible(CCmdTarget* owner) : m_owner(owner) {}
  HRESULT AccGetName(VARIANT varChild, BSTR* pszName) override {
    if (pszName == nullptr) return E_INVALIDARG;
    if (GetChildIndex(&varChild) != CHILDID_SELF) return E_INVALIDARG;
    *pszName = ::SysAllocString(L"Recovered files");
    return S_OK;
  }
  CCmdTarget* GetOwnerCmdTarget() override { return m_owner; }

 private:
  CCmdTarget* m_owner;
};

class AccessibleWindow : public CWnd {
 public:
  AccessibleWindow() { owner.accessible = &accessible; }
  CarryingTarget owner;
  NamedAccessible accessible{&owner};

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
      const LRESULT result = CTKPAccessible::LresultFromObject(__uuidof(IAccessible), wParam,
                                                               static_cast<IAccessible*>(&accessible));
      if (result > 0) return result;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

VARIANT Self() {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

TEST(Accessible, AClientReadsAToolkitWindowsName) {
  ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
  {
    AccessibleWindow window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, _T("Accessible"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 200, 100,
                                nullptr, nullptr));
    IAccessible* client = nullptr;
    ASSERT_EQ(CTKPAccessible::AccessibleObjectFromWindow(window.m_hWnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                         reinterpret_cast<void**>(&client)),
              S_OK);
    ASSERT_NE(client, nullptr);
    BSTR name = nullptr;
    EXPECT_EQ(client->get_accName(Self(), &name), S_OK);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, L"Recovered files");
    ::SysFreeString(name);
    client->Release();
    window.DestroyWindow();
  }
  ::CoUninitialize();
}

TEST(Accessible, DefaultsAndAnObjectWithoutOwner) {
  CarryingTarget owner;
  struct Plain : CTKPAccessible {
    CCmdTarget* owner = nullptr;
    CCmdTarget* GetOwnerCmdTarget() override { return owner; }
  } plain;
  owner.accessible = &plain;
  BSTR name = nullptr;
  EXPECT_EQ(plain.get_accName(Self(), &name), E_NOTIMPL);
  VARIANT focus;
  focus.vt = VT_BSTR;  // whatever the caller had there
  EXPECT_EQ(plain.get_accFocus(&focus), S_FALSE);
  EXPECT_EQ(focus.vt, VT_EMPTY);
  void* unknown = reinterpret_cast<void*>(1);
  EXPECT_EQ(plain.QueryInterface(IID_IUnknown, &unknown), E_NOINTERFACE);
  EXPECT_EQ(unknown, nullptr);
  plain.owner = &owner;
  EXPECT_EQ(plain.QueryInterface(__uuidof(IAccessible), &unknown), S_OK);
  EXPECT_EQ(unknown, static_cast<IAccessible*>(&plain));
  EXPECT_EQ(owner.m_dwRef, 2);  // the owner's count holds the client's reference
  plain.Release();
  EXPECT_EQ(owner.m_dwRef, 1);
  EXPECT_EQ(plain.QueryInterface(IID_IEnumVARIANT, &unknown), E_NOINTERFACE);
  EXPECT_EQ(owner.m_dwRef, 1);
}

// A toolkit element that lives by its reference count and is its own accessible object.
class CountedElement : public CCmdTarget, public CTKPAccessible {
 public:
  explicit CountedElement(bool* gone) : m_gone(gone) {}
  ~CountedElement() override { *m_gone = true; }
  CCmdTarget* GetOwnerCmdTarget() override { return this; }
  LPUNKNOWN GetInterface(REFIID riid) override { return GetAccessibleInterface(riid); }

 private:
  bool* m_gone;
};

TEST(Accessible, AClientHoldingTheInterfaceKeepsItsElementAlive) {
  bool gone = false;
  auto* element = new CountedElement(&gone);
  IAccessible* held = nullptr;
  ASSERT_EQ(static_cast<IAccessible*>(element)->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&held)),
            S_OK);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(held->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(element->m_dwRef, 3);
  element->InternalRelease();  // the toolkit lets go of it
  EXPECT_FALSE(gone);
  unknown->Release();
  BSTR name = nullptr;
  EXPECT_EQ(held->get_accName(Self(), &name), E_NOTIMPL);  // still answering
  EXPECT_FALSE(gone);
  EXPECT_EQ(held->Release(), 0u);  // the client's last reference ends it
  EXPECT_TRUE(gone);
}

TEST(Accessible, ChildIndexFollowsReferencesWithinLimits) {
  VARIANT v2;
  v2.vt = VT_I2;
  v2.iVal = 5;
  VARIANT byRef;
  byRef.vt = VT_VARIANT | VT_BYREF;
  byRef.pvarVal = &v2;
  EXPECT_EQ(CTKPAccessible::GetChildIndex(&byRef), 5);
  long four = 4;
  VARIANT i4Ref;
  i4Ref.vt = VT_I4 | VT_BYREF;
  i4Ref.plVal = &four;
  EXPECT_EQ(CTKPAccessible::GetChildIndex(&i4Ref), 4);
  i4Ref.plVal = nullptr;
  EXPECT_EQ(CTKPAccessible::GetChildIndex(&i4Ref), -1);
  VARIANT nullRef;
  nullRef.vt = VT_VARIANT | VT_BYREF;
  nullRef.pvarVal = nullptr;
  EXPECT_EQ(CTKPAccessible::GetChildIndex(&nullRef), -1);
  VARIANT loop;  // a VARIANT that refers to itself is not followed for ever
  loop.vt = VT_VARIANT | VT_BYREF;
  loop.pvarVal = &loop;
  EXPECT_EQ(CTKPAccessible::GetChildIndex(&loop), -1);
  VARIANT text;
  text.vt = VT_BSTR;
  text.bstrVal = nullptr;
  EXPECT_EQ(CTKPAccessible::GetChildIndex(&text), -1);
  EXPECT_EQ(CTKPAccessible::GetChildIndex(nullptr), -1);
}

}  // namespace
