// The property exchange over the real registry: every type saved and loaded again (floating-point
// values, date-times, BSTR texts and variants included; the variants also as VARIANTs), defaults deleting values, texts of rectangles and sizes, sections, blobs and the
// image manager's icons through numbered sections.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "platform/classlib/win/coleexception.h"

#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_prop_exchange_registry.h"
#include "toolkit/common/tkp_prop_values_win32.h"

namespace {

constexpr const wchar_t* kRoot = L"Software\\DorvaneTests\\PropExchange";

class RegistryExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_root, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    ::RegCloseKey(m_root);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
  }
  CString Text(LPCWSTR section, LPCWSTR name) {
    wchar_t buffer[128] = {};
    DWORD size = sizeof buffer;
    if (::RegGetValueW(m_root, section, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return L"<none>";
    return buffer;
  }
  void SetText(LPCWSTR section, LPCWSTR name, LPCWSTR text) {
    ::RegSetKeyValueW(m_root, section, name, REG_SZ, text, static_cast<DWORD>((::lstrlenW(text) + 1) * 2));
  }
  // An image manager with one 16-pixel icon of command 77, saved in the section "Images".
  void SaveOneIcon() {
    CTKPImageManager images;
    HICON icon = static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32516), IMAGE_ICON, 16, 16, LR_SHARED));
    ASSERT_TRUE(images.SetIcon(icon, 77));
    CTKPPropExchangeRegistry px(FALSE, m_root, L"Images");
    images.DoPropExchange(&px);
  }
  HKEY m_root = nullptr;
};

TEST_F(RegistryExchange, EveryTypeRoundTrips) {
  {
    CTKPPropExchangeRegistry px(FALSE, m_root, L"Bar");
    LONG n = -5;
    BOOL b = TRUE;
    float f = 1.25f;
    double d = -2.5e100;
    CString s(L"Quick Scan");
    CRect r(1, 2, 30, 40);
    CSize z(10, 20);
    EXPECT_TRUE(PX_Long(&px, L"Long", n, 0));
    EXPECT_TRUE(PX_Bool(&px, L"Bool", b, FALSE));
    EXPECT_TRUE(PX_Float(&px, L"Float", f, 0));
    EXPECT_TRUE(PX_Double(&px, L"Double", d, 0));
    EXPECT_TRUE(PX_String(&px, L"Text", s, L""));
    EXPECT_TRUE(PX_Rect(&px, L"Rect", r, CRect()));
    EXPECT_TRUE(PX_Size(&px, L"Size", z, CSize()));
    std::unique_ptr<CTKPPropExchange> child(px.GetSection(L"Child"));
    LONG inner = 7;
    EXPECT_TRUE(PX_Long(child.get(), L"Inner", inner, 0));
  }
  EXPECT_EQ(Text(L"Bar", L"Rect"), CString(L"1, 2, 30, 40"));
  EXPECT_EQ(Text(L"Bar", L"Size"), CString(L"10, 20"));

  CTKPPropExchangeRegistry px(TRUE, m_root, L"Bar");
  LONG n = 0;
  BOOL b = FALSE;
  float f = 0;
  double d = 0;
  CString s;
  CRect r;
  CSize z;
  EXPECT_TRUE(PX_Long(&px, L"Long", n, 0));
  EXPECT_TRUE(PX_Bool(&px, L"Bool", b, FALSE));
  EXPECT_TRUE(PX_Float(&px, L"Float", f, 0));
  EXPECT_TRUE(PX_Double(&px, L"Double", d, 0));
  EXPECT_TRUE(PX_String(&px, L"Text", s, L""));
  EXPECT_TRUE(PX_Rect(&px, L"Rect", r, CRect()));
  EXPECT_TRUE(PX_Size(&px, L"Size", z, CSize()));
  EXPECT_EQ(n, -5);
  EXPECT_EQ(b, TRUE);
  EXPECT_EQ(f, 1.25f);
  EXPECT_EQ(d, -2.5e100);
  EXPECT_EQ(s, CString(L"Quick Scan"));
  EXPECT_EQ(r, CRect(1, 2, 30, 40));
  EXPECT_EQ(z, CSize(10, 20));
  std::unique_ptr<CTKPPropExchange> child(px.GetSection(L"Child"));
  LONG inner = 0;
  PX_Long(child.get(), L"Inner", inner, 0);
  EXPECT_EQ(inner, 7);
}

TEST_F(RegistryExchange, DatesTextsAndVariantsAreNeitherStoredNorRead) {
  CTKPDateTime date(45266.25);
  std::u16string text(u"R&D");
  CTKPVariant variant(std::u16string(u"Disk 2")), kept(std::int16_t{3});
  {
    CTKPPropExchangeRegistry px(FALSE, m_root, L"Bar");
    EXPECT_FALSE(px.ExchangeProp(L"Date", tkpDate, &date, nullptr));
    EXPECT_FALSE(px.ExchangeProp(L"Text", tkpBstr, &text, nullptr));
    EXPECT_FALSE(px.ExchangeProp(L"Variant", tkpVariant, &variant, nullptr));
    const CTKPVariant defaultVariant(std::int16_t{3});
    EXPECT_TRUE(px.ExchangeProp(L"Kept", tkpVariant, &kept, &defaultVariant));  // equal to the default: removed
  }
  for (const wchar_t* name : {L"Date", L"Text", L"Variant", L"Kept"}) {
    EXPECT_NE(::RegGetValueW(m_root, L"Bar", name, RRF_RT_ANY, nullptr, nullptr, nullptr), ERROR_SUCCESS) << name;
  }
  const BYTE stored[] = {3, 0, 4, 3, 2, 1};  // a variant's archive form, as a value written by hand
  ::RegSetKeyValueW(m_root, L"Bar", L"Variant", REG_BINARY, stored, sizeof stored);
  ::RegSetKeyValueW(m_root, L"Bar", L"Text", REG_SZ, L"abc", 8);

  CTKPPropExchangeRegistry px(TRUE, m_root, L"Bar");
  CTKPDateTime gotDate(1.0);
  std::u16string gotText(u"mine");
  CTKPVariant gotVariant(std::int32_t{-1});
  const CTKPVariant fallback(std::int32_t{7});
  EXPECT_FALSE(px.ExchangeProp(L"Date", tkpDate, &gotDate, nullptr));
  EXPECT_FALSE(px.ExchangeProp(L"Text", tkpBstr, &gotText, nullptr));
  EXPECT_FALSE(px.ExchangeProp(L"Variant", tkpVariant, &gotVariant, &fallback));
  EXPECT_EQ(gotDate, CTKPDateTime(1.0));
  EXPECT_EQ(gotText, u"mine");
  EXPECT_EQ(gotVariant, CTKPVariant(std::int32_t{-1}));
}

TEST(PropValuesWin32, VariantsAndBstrsConvertBothWays) {
  for (const CTKPVariant& value : {CTKPVariant(), CTKPVariant(std::int16_t{-7}), CTKPVariant(CTKPVariant::Currency{15000}),
                                   CTKPVariant(CTKPVariant::Date{2.5}), CTKPVariant(std::u16string(u"a\0b", 3))}) {
    VARIANT var;
    ::VariantInit(&var);
    ASSERT_TRUE(TKPToVariant(value, &var));
    EXPECT_EQ(var.vt, static_cast<VARTYPE>(value.GetType()));
    CTKPVariant back;
    ASSERT_TRUE(TKPFromVariant(var, &back));
    EXPECT_EQ(back, value);
    ::VariantClear(&var);
  }
  VARIANT var;
  ::VariantInit(&var);
  ASSERT_TRUE(TKPToVariant(CTKPVariant(true), &var));
  EXPECT_EQ(var.boolVal, VARIANT_TRUE);
  // Types a property does not hold, and a date outside the years 100 to 9999, are refused.
  CTKPVariant untouched(std::int32_t{1});
  var.vt = VT_UI4;
  EXPECT_FALSE(TKPFromVariant(var, &untouched));
  var.vt = VT_DATE;
  var.date = 1e9;
  EXPECT_FALSE(TKPFromVariant(var, &untouched));
  EXPECT_EQ(untouched, CTKPVariant(std::int32_t{1}));
  EXPECT_EQ(TKPBstrText(nullptr), u"");
}

TEST_F(RegistryExchange, DefaultsDeleteAndBadTextsLoadTheDefault) {
  SetText(L"Bar", L"Text", L"old");
  SetText(L"Bar", L"Rect", L"1, 2, 3");
  SetText(L"Bar", L"Size", L"10,20");
  {
    CTKPPropExchangeRegistry px(FALSE, m_root, L"Bar");
    CString s(L"same");
    PX_String(&px, L"Text", s, L"same");
  }
  EXPECT_EQ(Text(L"Bar", L"Text"), CString(L"<none>"));
  CTKPPropExchangeRegistry px(TRUE, m_root, L"Bar");
  CRect r;
  PX_Rect(&px, L"Rect", r, CRect(9, 9, 9, 9));
  EXPECT_EQ(r, CRect(9, 9, 9, 9));
  CSize z;
  PX_Size(&px, L"Size", z, CSize());
  EXPECT_EQ(z, CSize(10, 20));
  float f = 3;
  PX_Float(&px, L"Missing", f, 0.5f);
  EXPECT_EQ(f, 0.5f);
}

TEST_F(RegistryExchange, BlobsSectionsAndEmptying) {
  {
    CTKPPropExchangeRegistry px(FALSE, m_root, L"Bar");
    BYTE bytes[3] = {1, 2, 3};
    BYTE* p = bytes;
    DWORD n = 3;
    EXPECT_TRUE(PX_Blob(&px, L"Blob", p, n));
  }
  CTKPPropExchangeRegistry px(TRUE, m_root, L"Bar");
  BYTE* blob = nullptr;
  DWORD n = 0;
  ASSERT_TRUE(PX_Blob(&px, L"Blob", blob, n));
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(blob[2], 3);
  std::free(blob);
  px.EmptySection();
  HKEY gone = nullptr;
  EXPECT_NE(::RegOpenKeyExW(m_root, L"Bar", 0, KEY_READ, &gone), ERROR_SUCCESS);
}

TEST_F(RegistryExchange, ImageManagerIconsThroughNumberedSections) {
  SaveOneIcon();
  DWORD type = 0;
  EXPECT_EQ(::RegGetValueW(m_root, L"Images\\IconSet0\\Icon0", L"Data", RRF_RT_ANY, &type, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));  // the icon record as one text of letters
  CTKPImageManager loaded;
  CTKPPropExchangeRegistry px(TRUE, m_root, L"Images");
  loaded.DoPropExchange(&px);
  ASSERT_NE(loaded.GetImage(77, 16), nullptr);
  EXPECT_FALSE(loaded.GetImage(77, 16)->GetIcon().IsEmpty());
}


// A damaged "Count" of 2^31 - 1 icon sets, or of icons in a set, names no more items than the registry holds:
// the icons that are there load and the loading ends (it ran for ever, making a key per number).
TEST_F(RegistryExchange, ADamagedIconCountLoadsTheIconsThereAre) {
  SaveOneIcon();
  const DWORD huge = 0x7FFFFFFFu;
  for (LPCWSTR section : {L"Images", L"Images\\IconSet0"}) {
    ASSERT_EQ(::RegSetKeyValueW(m_root, section, L"Count", REG_DWORD, &huge, sizeof huge), ERROR_SUCCESS);
  }
  CTKPImageManager loaded;
  CTKPPropExchangeRegistry px(TRUE, m_root, L"Images");
  loaded.DoPropExchange(&px);
  ASSERT_NE(loaded.GetImage(77, 16), nullptr);
  EXPECT_FALSE(loaded.GetImage(77, 16)->GetIcon().IsEmpty());
  HKEY stored = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(m_root, L"Images", 0, KEY_READ, &stored), ERROR_SUCCESS);
  DWORD keys = 0;
  ::RegQueryInfoKeyW(stored, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
  ::RegCloseKey(stored);
  EXPECT_LE(keys, 2u);
}

// An object whose serialisation fails in the way it is told.
class FailingObject : public CObject {
 public:
  enum Failure { kOle, kArchive, kOther } failure = kOle;
  void Serialize(CArchive&) override {
    if (failure == kOle) AfxThrowOleException(E_FAIL);
    if (failure == kArchive) AfxThrowArchiveException(CArchiveException::badIndex);
    throw std::runtime_error("not an exception of the class library");
  }
};

class CountingExchange : public CTKPPropExchangeRegistry {
 public:
  using CTKPPropExchangeRegistry::CTKPPropExchangeRegistry;
  int released = 0;
  void ReleaseArchive(LPCTSTR name, CArchive* archive) override {
    ++released;
    CTKPPropExchangeRegistry::ReleaseArchive(name, archive);
  }
};

TEST_F(RegistryExchange, SerializeTurnsArchiveAndOleFailuresIntoFalseAndAlwaysGivesTheArchiveBack) {
  CountingExchange px(FALSE, m_root, L"Objects");
  FailingObject object;
  object.failure = FailingObject::kOle;
  EXPECT_FALSE(PX_Serialize(&px, L"Ole", &object));
  EXPECT_EQ(px.released, 1);
  object.failure = FailingObject::kArchive;
  EXPECT_FALSE(PX_Serialize(&px, L"Archive", &object));
  EXPECT_EQ(px.released, 2);
  object.failure = FailingObject::kOther;
  EXPECT_THROW(PX_Serialize(&px, L"Other", &object), std::runtime_error);  // not ours to swallow
  EXPECT_EQ(px.released, 3);
}

// Two numbers through an archive.
class Pair : public CObject {
 public:
  DWORD a = 0, b = 0;
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << a << b;
    } else {
      ar >> a >> b;
    }
  }
};

TEST_F(RegistryExchange, SerializedObjectsAreStoredAsLetterTextAndRawBytesStillLoad) {
  {
    CTKPPropExchangeRegistry px(FALSE, m_root, L"Objects");
    Pair pair;
    pair.a = 0x1F;
    pair.b = 0xA0000002;
    EXPECT_TRUE(PX_Serialize(&px, L"Pair", &pair));
  }
  // Low four bits first, each from "A": 0x1F -> "PB", 0x00 -> "AA", 0x02 -> "CA", 0xA0 -> "AK".
  EXPECT_EQ(Text(L"Objects", L"Pair"), CString(L"PBAAAAAACAAAAAAK"));
  {
    CTKPPropExchangeRegistry px(TRUE, m_root, L"Objects");
    Pair pair;
    EXPECT_TRUE(PX_Serialize(&px, L"Pair", &pair));
    EXPECT_EQ(pair.a, 0x1Fu);
    EXPECT_EQ(pair.b, 0xA0000002u);
  }
  // The same object kept as raw bytes by an earlier version.
  const BYTE raw[8] = {7, 0, 0, 0, 9, 0, 0, 0};
  ::RegSetKeyValueW(m_root, L"Objects", L"Old", REG_BINARY, raw, sizeof raw);
  CTKPPropExchangeRegistry px(TRUE, m_root, L"Objects");
  Pair old;
  EXPECT_TRUE(PX_Serialize(&px, L"Old", &old));
  EXPECT_EQ(old.a, 7u);
  EXPECT_EQ(old.b, 9u);
  Pair missing;
  EXPECT_FALSE(PX_Serialize(&px, L"Missing", &missing));
}

}  // namespace
