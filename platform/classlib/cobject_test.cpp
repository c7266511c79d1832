#include "platform/classlib/cobject.h"

#include <gtest/gtest.h>

#include "platform/classlib/classlib_testing.h"

class CAnimal : public CObject {
  DECLARE_DYNAMIC(CAnimal)
};
class CDog : public CAnimal {
  DECLARE_DYNCREATE(CDog)
};
class CPuppy : public CDog {
  DECLARE_SERIAL(CPuppy)
};

IMPLEMENT_DYNAMIC(CAnimal, CObject)
IMPLEMENT_DYNCREATE(CDog, CAnimal)
IMPLEMENT_SERIAL(CPuppy, CDog, 3)

namespace {

TEST(CObjectTest, RuntimeClassesAndKinds) {
  CPuppy puppy;
  EXPECT_EQ(puppy.GetRuntimeClass(), RUNTIME_CLASS(CPuppy));
  EXPECT_STREQ(RUNTIME_CLASS(CPuppy)->m_lpszClassName, "CPuppy");
  EXPECT_EQ(RUNTIME_CLASS(CPuppy)->m_wSchema, 3u);
  EXPECT_TRUE(puppy.IsKindOf(RUNTIME_CLASS(CDog)));
  EXPECT_TRUE(puppy.IsKindOf(RUNTIME_CLASS(CAnimal)));
  EXPECT_TRUE(puppy.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(CDog().IsKindOf(RUNTIME_CLASS(CPuppy)));
  EXPECT_TRUE(RUNTIME_CLASS(CPuppy)->IsDerivedFrom(RUNTIME_CLASS(CAnimal)));
  EXPECT_TRUE(puppy.IsSerializable());
  EXPECT_FALSE(CDog().IsSerializable());
}

TEST(CObjectTest, CreationByName) {
  EXPECT_EQ(CRuntimeClass::FromName("CDog"), RUNTIME_CLASS(CDog));
  EXPECT_EQ(CRuntimeClass::FromName(_T("CPuppy")), RUNTIME_CLASS(CPuppy));
  EXPECT_EQ(CRuntimeClass::FromName("CDo"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(_T("CDogs")), nullptr);
  // The library's own classes are registered too.
  EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
  EXPECT_NE(CRuntimeClass::FromName("CObArray"), nullptr);

  CObject* dog = CRuntimeClass::CreateObject(_T("CDog"));
  ASSERT_NE(dog, nullptr);
  EXPECT_EQ(dog->GetRuntimeClass(), RUNTIME_CLASS(CDog));
  delete dog;
  CObject* puppy = RUNTIME_CLASS(CPuppy)->CreateObject();
  ASSERT_NE(puppy, nullptr);
  EXPECT_TRUE(puppy->IsKindOf(RUNTIME_CLASS(CPuppy)));
  delete puppy;
  // Not creatable: declared DYNAMIC only, or unknown.
  EXPECT_EQ(CRuntimeClass::CreateObject("CAnimal"), nullptr);
  EXPECT_EQ(CRuntimeClass::CreateObject("CCat"), nullptr);
}

}  // namespace
