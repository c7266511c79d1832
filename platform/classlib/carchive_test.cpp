#include "platform/classlib/carchive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "platform/classlib/classlib_testing.h"

// Test classes live outside an anonymous namespace so that their names are the registered names.

// Every test object alive is tracked, so that a test can free what a failed load left behind.
class CTestTracked : public CObject {
  DECLARE_DYNAMIC(CTestTracked)

 public:
  CTestTracked() { Alive().insert(this); }
  ~CTestTracked() override { Alive().erase(this); }

  static std::set<CTestTracked*>& Alive() {
    static std::set<CTestTracked*> alive;
    return alive;
  }
  static void FreeAll() {
    while (!Alive().empty()) delete *Alive().begin();
  }
};
IMPLEMENT_DYNAMIC(CTestTracked, CObject)

// One number: the smallest object, for checking the bytes of class records and references.
class CTestPoint : public CTestTracked {
  DECLARE_SERIAL(CTestPoint)

 public:
  explicit CTestPoint(int value = 0) : m_value(value) {}
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_value;
    } else {
      ar >> m_value;
    }
  }
  int m_value;
};
IMPLEMENT_SERIAL(CTestPoint, CTestTracked, 1)

// A shape with a name, a frame, the objects it holds and a partner that may point anywhere in the
// graph.
class CTestShape : public CTestTracked {
  DECLARE_SERIAL(CTestShape)

 public:
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_name << m_frame << m_partner;
    } else {
      ar >> m_name >> m_frame >> m_partner;
    }
    m_children.Serialize(ar);
  }

  CString m_name;
  CRect m_frame;
  CTestShape* m_partner = nullptr;
  CObArray m_children;
};
IMPLEMENT_SERIAL(CTestShape, CTestTracked, 1)

class CTestCircle : public CTestShape {
  DECLARE_SERIAL(CTestCircle)

 public:
  void Serialize(CArchive& ar) override {
    CTestShape::Serialize(ar);
    if (ar.IsStoring()) {
      ar << m_radius;
    } else {
      ar >> m_radius;
    }
  }
  double m_radius = 0;
};
IMPLEMENT_SERIAL(CTestCircle, CTestShape, 2)

class CTestNotSerial : public CObject {
  DECLARE_DYNCREATE(CTestNotSerial)
};
IMPLEMENT_DYNCREATE(CTestNotSerial, CObject)

namespace {

std::vector<BYTE> B(std::initializer_list<int> bytes) { return std::vector<BYTE>(bytes.begin(), bytes.end()); }

std::vector<BYTE> Ascii(const char* text) { return std::vector<BYTE>(text, text + std::strlen(text)); }

std::vector<BYTE> operator+(std::vector<BYTE> a, const std::vector<BYTE>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The cause raised by reading objects from these bytes (-1 when none); what was read is freed. No
// tracked object made by the test itself may be alive (FreeAll deletes every one).
int ReadObjectCause(const std::vector<BYTE>& bytes, const CRuntimeClass* requested = nullptr, int objects = 1) {
  std::vector<CObject*> made;
  const int cause = CauseOf<CArchiveException>([&] {
    Loaded(bytes, [&](CArchive& ar) {
      for (int i = 0; i < objects; ++i) made.push_back(ar.ReadObject(requested));
    });
  });
  for (CObject* o : made) {
    if (o == nullptr || !o->IsKindOf(RUNTIME_CLASS(CTestTracked))) delete o;
  }
  CTestTracked::FreeAll();
  return cause;
}

TEST(CArchiveFormat, NumbersAreLittleEndian) {
  const std::vector<BYTE> bytes = Stored([](CArchive& ar) {
    ar << static_cast<BYTE>(1) << static_cast<WORD>(0x0203) << -2 << static_cast<LONG>(-3)
       << static_cast<DWORD>(0x04050607) << static_cast<LONGLONG>(-4) << 1.0f << 2.0 << _T('A');
  });
  const std::vector<BYTE> want =
      B({1, 3, 2, 0xFE, 0xFF, 0xFF, 0xFF, 0xFD, 0xFF, 0xFF, 0xFF, 7, 6, 5, 4}) + B({0xFC, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) +
      B({0, 0, 0x80, 0x3F}) + B({0, 0, 0, 0, 0, 0, 0, 0x40}) + B({'A', 0});
  EXPECT_EQ(bytes, want);

  Loaded(bytes, [](CArchive& ar) {
    BYTE b;
    WORD w;
    int i;
    LONG l;
    DWORD d;
    LONGLONG ll;
    float f;
    double x;
    TCHAR c;
    ar >> b >> w >> i >> l >> d >> ll >> f >> x >> c;
    EXPECT_EQ(b, 1);
    EXPECT_EQ(w, 0x0203);
    EXPECT_EQ(i, -2);
    EXPECT_EQ(l, -3);
    EXPECT_EQ(d, 0x04050607u);
    EXPECT_EQ(ll, -4);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(x, 2.0);
    EXPECT_EQ(c, _T('A'));
  });
}

TEST(CArchiveFormat, CountsAreAWordOrAnEscapedDword) {
  const struct {
    DWORD count;
    std::vector<BYTE> bytes;
  } cases[] = {
      {0, B({0, 0})},
      {0xFFFE, B({0xFE, 0xFF})},
      {0xFFFF, B({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
      {70000, B({0xFF, 0xFF, 0x70, 0x11, 1, 0})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Stored([&](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes) << c.count;
    Loaded(c.bytes, [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), c.count); });
  }
}

TEST(CArchiveFormat, StringsCarryTheUtf16MarkAndTheirLength) {
  EXPECT_EQ(Stored([](CArchive& ar) { ar << CString(_T("Hi")); }), B({0xFF, 0xFE, 0xFF, 2, 'H', 0, 'i', 0}));
  EXPECT_EQ(Stored([](CArchive& ar) { ar << CString(); }), B({0xFF, 0xFE, 0xFF, 0}));
  const struct {
    int length;
    std::vector<BYTE> prefix;
  } cases[] = {
      {254, B({0xFF, 0xFE, 0xFF, 0xFE})},
      {255, B({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
      {0xFFFD, B({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
      {0xFFFE, B({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})},
  };
  for (const auto& c : cases) {
    const CString text(_T('\u00e9'), c.length);
    const std::vector<BYTE> bytes = Stored([&](CArchive& ar) { ar << text; });
    ASSERT_EQ(bytes.size(), c.prefix.size() + 2 * c.length);
    EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin())) << c.length;
    EXPECT_EQ(bytes[c.prefix.size()], 0xE9);
    CString back;
    Loaded(bytes, [&](CArchive& ar) { ar >> back; });
    EXPECT_EQ(back, text);
  }
}

TEST(CArchiveFormat, EightBitStringsAreReadInTheCodePage) {
  CString a, b;
  Loaded(B({3, 'a', 'b', 0xE9, 0xFF, 2, 0, 'x', 'y'}), [&](CArchive& ar) { ar >> a >> b; });
  EXPECT_EQ(a, _T("ab\u00e9"));
  EXPECT_EQ(b, _T("xy"));
}

TEST(CArchiveObjects, ClassRecordsNumbersAndReferences) {
  CTestPoint p1(7), p2(8);
  const std::vector<BYTE> bytes = Stored([&](CArchive& ar) { ar << &p1 << &p2 << &p1 << nullptr; });
  // p1: new class (number 1) "CTestPoint" schema 1, then p1 (number 2); p2: class 1, then p2
  // (number 3); p1 again: object 2; null.
  const std::vector<BYTE> want = B({0xFF, 0xFF, 1, 0, 10, 0}) + Ascii("CTestPoint") + B({7, 0, 0, 0}) +
                                 B({0x01, 0x80, 8, 0, 0, 0}) + B({2, 0}) + B({0, 0});
  EXPECT_EQ(bytes, want);

  Loaded(bytes, [](CArchive& ar) {
    CTestPoint *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
    ar >> a >> b >> c >> d;
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->m_value, 7);
    EXPECT_EQ(b->m_value, 8);
    EXPECT_EQ(c, a);
    EXPECT_EQ(d, nullptr);
    delete a;
    delete b;
  });
}

// Shapes of two kinds, a point and a null among the children, references forward and back; then the
// first child again.
std::vector<BYTE> StoredGraph() {
  CTestShape root;
  root.m_name = _T("root \u263a");
  root.m_frame = CRect(1, 2, 3, 4);
  CTestCircle c1;
  c1.m_name = _T("c1");
  c1.m_radius = 2.5;
  CTestShape s2;
  s2.m_name = _T("s2");
  s2.m_partner = &root;  // a reference back to an object still being written
  CTestPoint point(5);
  root.m_children.Add(&c1);
  root.m_children.Add(&s2);
  root.m_children.Add(&point);
  root.m_children.Add(nullptr);
  c1.m_partner = &s2;  // a reference forward to an object written later
  return Stored([&](CArchive& ar) { ar << &root << &c1; });
}

TEST(CArchiveObjects, GraphRoundTripKeepsKindsAndSharedPointers) {
  Loaded(StoredGraph(), [](CArchive& ar) {
    CObject* first = nullptr;
    CObject* second = nullptr;
    ar >> first >> second;
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->IsKindOf(RUNTIME_CLASS(CTestShape)));
    auto* root = static_cast<CTestShape*>(first);
    EXPECT_EQ(root->m_name, _T("root \u263a"));
    EXPECT_EQ(root->m_frame, CRect(1, 2, 3, 4));
    ASSERT_EQ(root->m_children.GetSize(), 4);
    auto* c1 = static_cast<CTestCircle*>(root->m_children[0]);
    auto* s2 = static_cast<CTestShape*>(root->m_children[1]);
    ASSERT_EQ(c1->GetRuntimeClass(), RUNTIME_CLASS(CTestCircle));
    EXPECT_EQ(c1->m_radius, 2.5);
    EXPECT_EQ(c1->m_partner, s2);
    EXPECT_EQ(s2->m_partner, root);
    EXPECT_EQ(static_cast<CTestPoint*>(root->m_children[2])->m_value, 5);
    EXPECT_EQ(root->m_children[3], nullptr);
    EXPECT_EQ(second, c1);
  });
  CTestTracked::FreeAll();
}

TEST(CArchiveObjects, WriteClassReadClassAndMapObject) {
  CTestPoint mapped;
  const std::vector<BYTE> bytes = Stored([&](CArchive& ar) {
    ar.WriteClass(RUNTIME_CLASS(CTestPoint));
    ar.SerializeClass(RUNTIME_CLASS(CTestCircle));
    ar.WriteClass(RUNTIME_CLASS(CTestPoint));
    ar.MapObject(&mapped);  // number 3, written as a reference
    ar << &mapped;
  });
  EXPECT_EQ(std::vector<BYTE>(bytes.end() - 4, bytes.end()), B({0x01, 0x80, 3, 0}));
  Loaded(bytes, [&](CArchive& ar) {
    UINT schema = 0;
    EXPECT_EQ(ar.ReadClass(nullptr, &schema), RUNTIME_CLASS(CTestPoint));
    EXPECT_EQ(schema, 1u);
    ar.SerializeClass(RUNTIME_CLASS(CTestCircle));
    EXPECT_EQ(ar.ReadClass(RUNTIME_CLASS(CObject), &schema), RUNTIME_CLASS(CTestPoint));
    ar.MapObject(&mapped);
    EXPECT_EQ(ar.ReadObject(RUNTIME_CLASS(CTestPoint)), &mapped);
  });
}

TEST(CArchiveObjects, CollectionsRoundTrip) {
  CObArray points;
  CTestPoint p(3);
  points.Add(&p);
  points.Add(&p);
  CStringArray strings;
  strings.Add(_T("x"));
  strings.Add(_T("yz"));
  CDWordArray words;
  words.Add(0xDEADBEEF);
  CStringList list;
  list.AddTail(_T("first"));
  list.AddTail(_T("second"));
  CObList objects;
  objects.AddTail(&p);
  CMapStringToString map;
  map[_T("k")] = _T("v");
  const std::vector<BYTE> bytes =
      Stored([&](CArchive& ar) { ar << &points << &strings << &words << &list << &objects << &map; });

  Loaded(bytes, [](CArchive& ar) {
    CObject* o[6] = {};
    for (CObject*& each : o) ar >> each;
    auto* points = static_cast<CObArray*>(o[0]);
    ASSERT_EQ(points->GetSize(), 2);
    EXPECT_EQ(points->GetAt(0), points->GetAt(1));
    EXPECT_EQ(static_cast<CTestPoint*>(points->GetAt(0))->m_value, 3);
    auto* strings = static_cast<CStringArray*>(o[1]);
    EXPECT_EQ(strings->GetAt(0) + strings->GetAt(1), _T("xyz"));
    EXPECT_EQ(static_cast<CDWordArray*>(o[2])->GetAt(0), 0xDEADBEEFu);
    auto* list = static_cast<CStringList*>(o[3]);
    EXPECT_EQ(list->GetHead() + list->GetTail(), _T("firstsecond"));
    EXPECT_EQ(static_cast<CObList*>(o[4])->GetHead(), points->GetAt(0));
    CString value;
    EXPECT_TRUE(static_cast<CMapStringToString*>(o[5])->Lookup(_T("k"), value));
    EXPECT_EQ(value, _T("v"));
    delete points->GetAt(0);
    for (CObject* each : o) delete each;
  });
}

TEST(CArchiveErrors, BadRecordsAndReferences) {
  const std::vector<BYTE> point = Ascii("CTestPoint");
  const struct {
    const char* what;
    std::vector<BYTE> bytes;
    int cause;
    int objects = 1;
  } cases[] = {
      {"unknown class", B({0xFF, 0xFF, 1, 0, 5, 0}) + Ascii("CNope") + B({0, 0, 0, 0}), CArchiveException::badClass},
      {"other schema", B({0xFF, 0xFF, 9, 0, 10, 0}) + point + B({0, 0, 0, 0}), CArchiveException::badSchema},
      {"class that is not serial", B({0xFF, 0xFF, 0xFF, 0xFF, 14, 0}) + Ascii("CTestNotSerial"),
       CArchiveException::badClass},
      {"name too long", B({0xFF, 0xFF, 1, 0, 64, 0}) + std::vector<BYTE>(64, 'A'), CArchiveException::badClass},
      {"object never read", B({5, 0}), CArchiveException::badIndex},
      {"class never read", B({0x01, 0x80}), CArchiveException::badIndex},
      {"class number 0", B({0x00, 0x80}), CArchiveException::badIndex},
      {"big class never read", B({0xFF, 0x7F, 5, 0, 0, 0x80}), CArchiveException::badIndex},
      {"big object never read", B({0xFF, 0x7F, 5, 0, 0, 0}), CArchiveException::badIndex},
      {"class number of an object", B({0xFF, 0xFF, 1, 0, 10, 0}) + point + B({7, 0, 0, 0, 2, 0x80}),
       CArchiveException::badIndex, 2},
      {"empty stream", B({}), CArchiveException::endOfFile},
      {"cut inside a class name", B({0xFF, 0xFF, 1, 0, 10, 0, 'C', 'T'}), CArchiveException::endOfFile},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadObjectCause(c.bytes, nullptr, c.objects), c.cause) << c.what;
}

std::vector<BYTE> StoredPoint(int value) {
  CTestPoint p(value);
  return Stored([&](CArchive& ar) { ar << &p; });
}

TEST(CArchiveErrors, WrongKindAndDirection) {
  const std::vector<BYTE> bytes = StoredPoint(1);
  EXPECT_EQ(ReadObjectCause(bytes, RUNTIME_CLASS(CTestShape)), CArchiveException::badClass);
  EXPECT_EQ(CauseOf<CArchiveException>([&] { Loaded(bytes, [](CArchive& ar) { ar.ReadClass(); }); }), -1);
  EXPECT_EQ(CauseOf<CArchiveException>([&] { Loaded(B({2, 0}), [](CArchive& ar) { ar.ReadClass(); }); }),
            CArchiveException::badIndex);
  EXPECT_EQ(CauseOf<CArchiveException>([&] { Loaded(bytes, [](CArchive& ar) { ar << 1; }); }),
            CArchiveException::readOnly);
  EXPECT_EQ(CauseOf<CArchiveException>([&] { Stored([](CArchive& ar) { int i; ar >> i; }); }),
            CArchiveException::writeOnly);
  CTestNotSerial notSerial;
  EXPECT_TRUE(Raises<CNotSupportedException>([&] { Stored([&](CArchive& ar) { ar << &notSerial; }); }));
}

TEST(CArchiveErrors, EveryCutOfAValidStreamRaisesAndNeverReadsPastIt) {
  const std::vector<BYTE> bytes = StoredGraph();
  ASSERT_EQ(ReadObjectCause(bytes, nullptr, 2), -1);
  // Each prefix is a heap block of exactly that size: a read past it would be caught by ASan.
  for (size_t n = 0; n < bytes.size(); ++n) {
    const std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_EQ(ReadObjectCause(cut, nullptr, 2), CArchiveException::endOfFile) << "cut at " << n;
  }
}

TEST(CArchiveErrors, DamagedCountsAndLengthsCostNoMoreThanTheData) {
  // A string array that claims 4 billion strings and holds two.
  CStringArray strings;
  EXPECT_EQ(CauseOf<CArchiveException>([&] {
              Loaded(B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 'a', 1, 'b'}), [&](CArchive& ar) { strings.Serialize(ar); });
            }),
            CArchiveException::endOfFile);
  EXPECT_EQ(strings.GetSize(), 2);
  // A string that claims 4 billion units and holds one.
  CString s;
  EXPECT_EQ(CauseOf<CArchiveException>([&] {
              Loaded(B({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'x', 0}),
                     [&](CArchive& ar) { ar >> s; });
            }),
            CArchiveException::endOfFile);
}

TEST(CArchiveErrors, ObjectsNestedTooDeeplyAreRefused) {
  const auto chain = [](int depth) {
    std::vector<CTestShape> shapes(static_cast<size_t>(depth));
    for (int i = 0; i + 1 < depth; ++i) shapes[i].m_children.Add(&shapes[i + 1]);
    return Stored([&](CArchive& ar) { ar << &shapes[0]; });
  };
  EXPECT_EQ(ReadObjectCause(chain(200)), -1);
  EXPECT_EQ(ReadObjectCause(chain(300)), CArchiveException::generic);
}

TEST(CArchiveFile, FlushWhileLoadingGivesBackTheUnreadBytes) {
  std::vector<BYTE> bytes = B({1, 0, 2, 0, 3, 0});
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  {
    CArchive ar(&file, CArchive::load);
    WORD w;
    ar >> w;
    ar.Flush();
  }
  EXPECT_EQ(file.GetPosition(), 2u);
}

TEST(CArchiveFile, RoundTripThroughAFileOnDisk) {
  const CString path = CString::FromUtf16(os::TempFolderPath()) + _T("classlib_archive_test.bin");
  {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    ar << CString(_T("on disk")) << 42;
  }
  CFile file;
  CFileException error;
  ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &error));
  EXPECT_EQ(file.GetLength(), 22u);
  CString text;
  int number = 0;
  {
    CArchive ar(&file, CArchive::load);
    ar >> text >> number;
  }
  EXPECT_EQ(text, _T("on disk"));
  EXPECT_EQ(number, 42);
  file.Close();
  EXPECT_TRUE(os::RemoveFile(path.ToUtf16()));

  EXPECT_FALSE(file.Open(path, CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_strFileName, path);
  EXPECT_FALSE(file.Open(path, CFile::modeReadWrite, &error));
  EXPECT_EQ(error.m_cause, CFileException::generic);
  EXPECT_EQ(CauseOf<CFileException>([&] { CFile missing(path, CFile::modeRead); }), CFileException::fileNotFound);
}

}  // namespace
