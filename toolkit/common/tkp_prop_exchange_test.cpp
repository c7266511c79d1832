#include "toolkit/common/tkp_prop_exchange.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TestShape : public CObject {
  DECLARE_DYNCREATE(TestShape)
};
IMPLEMENT_DYNCREATE(TestShape, CObject)

namespace {

// A back-end of the test's own over a name -> text table, so the base's encodings can be read.
class TableExchange : public CTKPPropExchange {
 public:
  TableExchange(std::map<std::u16string, std::u16string>& table, BOOL bLoading, std::u16string prefix = u"")
      : m_table(table), m_prefix(std::move(prefix)) {
    m_bLoading = bLoading;
  }
  BOOL ExchangeProp(LPCTSTR name, int nType, void* pv, const void* pvDefault) override {
    const std::u16string key = m_prefix + CString(name).ToUtf16();
    if (!m_bLoading) {
      if (TKPPropValuesEqual(nType, pv, pvDefault)) {
        m_table.erase(key);
        return TRUE;
      }
      if (nType == tkpString) {
        m_table[key] = static_cast<CString*>(pv)->ToUtf16();
      } else if (nType == tkpI4) {
        CString text;
        text.Format(_T("%i"), *static_cast<int*>(pv));
        m_table[key] = text.ToUtf16();
      }
      return TRUE;
    }
    auto it = m_table.find(key);
    if (it == m_table.end()) return TKPPropCopyValue(nType, pv, pvDefault);
    if (nType == tkpString) *static_cast<CString*>(pv) = CString::FromUtf16(it->second);
    if (nType == tkpI4) *static_cast<int*>(pv) = std::stoi(std::string(it->second.begin(), it->second.end()));
    return TRUE;
  }
  CTKPPropExchange* GetSection(LPCTSTR name) override {
    auto* section = new TableExchange(m_table, m_bLoading, m_prefix + CString(name).ToUtf16() + u"\\");
    InitSection(section);
    return section;
  }
  std::map<std::u16string, std::u16string>& m_table;
  std::u16string m_prefix;
};

std::vector<BYTE> Stored(const std::function<void(CTKPPropExchange&)>& exchange) {
  return TKPArchiveStore([&exchange](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    exchange(px);
  });
}

TEST(PropExchangeArchive, WritesValuesInTheirBinaryFormWithoutNames) {
  const std::vector<BYTE> bytes = Stored([](CTKPPropExchange& px) {
    LONG n = 0x01020304;
    CSize size(7, -1);
    CRect rect(1, 2, 3, 4);
    CString text(_T("Ab"));
    PX_Long(&px, _T("Long"), n, 0);
    PX_Size(&px, _T("Size"), size, CSize(7, -1));  // equal to its default: still written here
    PX_Rect(&px, _T("Rect"), rect, CRect());
    PX_String(&px, _T("Text"), text, _T(""));
    std::u16string bstr(u"H\0i", 3);
    EXPECT_TRUE(px.ExchangeProp(_T("Bstr"), tkpBstr, &bstr, nullptr));  // nothing is written for a BSTR
    int unknown = 0;
    EXPECT_TRUE(px.ExchangeProp(_T("Unknown"), 9, &unknown, nullptr));  // nor for an unknown code
  });
  const std::vector<BYTE> expected = {4, 3, 2, 1, 7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 2, 0, 0, 0,
                                      3, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFE, 0xFF, 2, 'A', 0, 'b', 0};
  EXPECT_EQ(bytes, expected);
}

TEST(PropExchangeArchive, BlobsCountsAndSectionsRoundTrip) {
  std::vector<BYTE> bytes = Stored([](CTKPPropExchange& px) {
    BYTE blob[3] = {9, 8, 7};
    BYTE* p = blob;
    DWORD n = 3;
    PX_Blob(&px, _T("Blob"), p, n);
    std::unique_ptr<CTKPSectionEnumerator> items(px.GetEnumerator(_T("Item")));
    POSITION pos = items->GetPosition(2);
    for (LONG i = 0; pos != nullptr; ++i) {
      std::unique_ptr<CTKPPropExchange> section(items->GetNext(pos));
      PX_Long(section.get(), _T("Id"), i, 0);
    }
  });
  EXPECT_EQ(bytes, (std::vector<BYTE>{3, 0, 9, 8, 7, 2, 0, 0, 0, 0, 0, 1, 0, 0, 0}));

  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  BYTE* blob = nullptr;
  DWORD n = 0;
  ASSERT_TRUE(PX_Blob(&px, _T("Blob"), blob, n));
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(blob[2], 7);
  std::free(blob);
  std::unique_ptr<CTKPSectionEnumerator> items(px.GetEnumerator(_T("Item")));
  POSITION pos = items->GetPosition();
  std::vector<LONG> ids;
  while (pos != nullptr) {
    std::unique_ptr<CTKPPropExchange> section(items->GetNext(pos));
    LONG id = -1;
    PX_Long(section.get(), _T("Id"), id, 0);
    ids.push_back(id);
  }
  EXPECT_EQ(ids, (std::vector<LONG>{0, 1}));
}

TEST(PropExchangeArchive, ShortDataRaisesTheArchiveException) {
  const BYTE bytes[] = {1, 2};
  CMemFile file(const_cast<BYTE*>(bytes), sizeof bytes);
  CArchive ar(&file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  LONG n = 0;
  try {
    PX_Long(&px, _T("Long"), n, 5);
    ADD_FAILURE() << "no exception";
  } catch (CArchiveException* e) {
    EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
    e->Delete();
  }
}

// A stream that claims more bytes than it holds: the load fails and the caller's pointer and size
// stay as they were, with nothing allocated for the claim.
TEST(PropExchangeArchive, ABlobCountBeyondTheStreamLeavesTheTargetUntouched) {
  const std::vector<BYTE> claims = {0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 1, 2, 3};  // 0x7FFFFFF0 bytes
  CMemFile file(const_cast<BYTE*>(claims.data()), static_cast<UINT>(claims.size()));
  CArchive ar(&file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  BYTE* blob = nullptr;
  DWORD n = 5;
  EXPECT_FALSE(PX_Blob(&px, _T("Blob"), blob, n));
  EXPECT_EQ(blob, nullptr);
  EXPECT_EQ(n, 5u);
  std::free(blob);

  const std::vector<BYTE> shortBlock = {4, 0, 1, 2};  // four claimed, two there
  CMemFile shortFile(const_cast<BYTE*>(shortBlock.data()), static_cast<UINT>(shortBlock.size()));
  CArchive shortAr(&shortFile, CArchive::load);
  CTKPPropExchangeArchive shortPx(shortAr);
  BYTE mine[4] = {9, 9, 9, 9};
  BYTE* p = mine;
  DWORD size = 4;
  EXPECT_FALSE(PX_Blob(&shortPx, _T("Blob"), p, size));
  EXPECT_EQ(mine[0], 9);
  EXPECT_EQ(size, 4u);
}

TEST(PropExchangeBase, BlobTextIsTwoLettersPerByteLowNibbleFirst) {
  std::map<std::u16string, std::u16string> table;
  TableExchange save(table, FALSE);
  BYTE blob[2] = {0x00, 0xFF};
  BYTE* p = blob;
  DWORD n = 2;
  ASSERT_TRUE(PX_Blob(&save, _T("Data"), p, n));
  EXPECT_EQ(table[u"Data"], u"AAPP");
  table[u"Odd"] = u"ABC";
  table[u"Mixed"] = u"BDAH";  // 0x31, 0x70

  TableExchange load(table, TRUE);
  BYTE* got = nullptr;
  DWORD size = 0;
  EXPECT_FALSE(PX_Blob(&load, _T("Odd"), got, size));
  ASSERT_TRUE(PX_Blob(&load, _T("Mixed"), got, size));
  ASSERT_EQ(size, 2u);
  EXPECT_EQ(got[0], 0x31);
  EXPECT_EQ(got[1], 0x70);
  BYTE small[1];
  BYTE* ps = small;
  DWORD one = 1;
  EXPECT_FALSE(PX_Blob(&load, _T("Mixed"), ps, one));  // the caller's buffer is too small
  std::free(got);

  BYTE* empty = nullptr;
  DWORD none = 0;
  n = 0;
  ASSERT_TRUE(PX_Blob(&save, _T("Data"), empty, none));  // an empty block deletes the value
  EXPECT_EQ(table.count(u"Data"), 0u);
}

TEST(PropExchangeBase, EnumeratorNamesItemsFromZeroUnderCount) {
  std::map<std::u16string, std::u16string> table;
  table[u"Count"] = u"3";
  TableExchange load(table, TRUE);
  std::unique_ptr<CTKPSectionEnumerator> items(load.GetEnumerator(_T("Icon")));
  POSITION pos = items->GetPosition(0, FALSE);
  std::vector<std::u16string> names;
  while (pos != nullptr) {
    std::unique_ptr<CTKPPropExchange> section(items->GetNext(pos));
    names.push_back(static_cast<TableExchange*>(section.get())->m_prefix);
    EXPECT_FALSE(section->IsRootSection());
  }
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Icon0\\", u"Icon1\\", u"Icon2\\"}));
  EXPECT_EQ(pos, nullptr);

  CTKPSectionEnumerator nothing(nullptr, _T("Icon"));
  EXPECT_EQ(nothing.GetPosition(4), nullptr);
}

TEST(PropExchangeBase, RuntimeClassesByNameAndDefaults) {
  std::map<std::u16string, std::u16string> table;
  TableExchange save(table, FALSE);
  CRuntimeClass* cls = RUNTIME_CLASS(CTKPPropExchangeArchive);
  ASSERT_TRUE(PX_RuntimeClass(&save, _T("Class"), cls, RUNTIME_CLASS(CTKPPropExchange)));
  EXPECT_EQ(table[u"Class"], u"CTKPPropExchangeArchive");

  TableExchange load(table, TRUE);
  CRuntimeClass* got = nullptr;
  ASSERT_TRUE(PX_RuntimeClass(&load, _T("Class"), got, nullptr));
  EXPECT_EQ(got, RUNTIME_CLASS(CTKPPropExchangeArchive));
  ASSERT_TRUE(PX_RuntimeClass(&load, _T("Missing"), got, RUNTIME_CLASS(CObject)));
  EXPECT_EQ(got, RUNTIME_CLASS(CObject));
  table[u"Class"] = u"NoSuchClass";
  EXPECT_FALSE(PX_RuntimeClass(&load, _T("Class"), got, nullptr));
}

TEST(PropExchangeBase, ObjectInstancesAreMadeFromTheirClass) {
  std::map<std::u16string, std::u16string> table;
  TableExchange save(table, FALSE);
  TestShape shape;
  CObject* object = &shape;
  ASSERT_TRUE(save.ExchangeObjectInstance(&object, RUNTIME_CLASS(CObject)));
  EXPECT_EQ(table[u"Class"], u"TestShape");

  TableExchange load(table, TRUE);
  CObject* made = nullptr;
  ASSERT_TRUE(load.ExchangeObjectInstance(&made, RUNTIME_CLASS(CObject)));
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(TestShape)));
  delete made;
  // A stored class that does not derive from the one required makes nothing.
  CObject* wrong = &shape;
  EXPECT_FALSE(load.ExchangeObjectInstance(&wrong, RUNTIME_CLASS(CTKPPropExchange)));
  EXPECT_EQ(wrong, nullptr);
}

TEST(PropExchangeValues, CompareAndCopyByType) {
  CRect a(1, 2, 3, 4), b(1, 2, 3, 4), c;
  EXPECT_TRUE(TKPPropValuesEqual(tkpRect, &a, &b));
  EXPECT_FALSE(TKPPropValuesEqual(tkpRect, &a, nullptr));
  EXPECT_FALSE(TKPPropValuesEqual(9, &a, &b));
  EXPECT_TRUE(TKPPropCopyValue(tkpRect, &c, &a));
  EXPECT_EQ(c, a);
  CString s1(_T("x")), s2(_T("X"));
  EXPECT_FALSE(TKPPropValuesEqual(tkpString, &s1, &s2));
  EXPECT_FALSE(TKPPropCopyValue(tkpI4, &c, nullptr));
}

}  // namespace
