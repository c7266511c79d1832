#include "toolkit/controls/tk_theme_manager.h"

#include <gtest/gtest.h>

namespace {

int g_liveThemes = 0;

class CountedTheme : public CTKThemeManagerStyle {
 public:
  CountedTheme() { ++g_liveThemes; }
  ~CountedTheme() override { --g_liveThemes; }
  void RefreshMetrics() override { ++m_nRefreshed; }
  int m_nRefreshed = 0;
};

class CountedFactory : public CTKThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CountedFactory)

 public:
  CTKThemeManagerStyle* CreateTheme(int nTheme) override {
    auto* pTheme = new CountedTheme;
    pTheme->m_nTheme = nTheme;
    return pTheme;
  }
};
IMPLEMENT_DYNCREATE(CountedFactory, CTKThemeManagerStyleFactory)

class CountingHost : public CTKThemeManagerStyleHost {
 public:
  CountingHost() : CTKThemeManagerStyleHost(RUNTIME_CLASS(CountedFactory)) {}
  void OnThemeChanged() override { ++m_nChanged; }
  int m_nChanged = 0;
};

bool Lists(CTKThemeManagerStyleFactory* pFactory, CTKThemeManagerStyleHost* pHost) {
  for (auto* p = pFactory->GetFirstHost(); p != nullptr; p = p->m_pNextHost)
    if (p == pHost) return true;
  return false;
}

TEST(ThemeManager, ControlsOfOneClassShareOneFactoryAndTheme) {
  CountingHost a, b;
  ASSERT_NE(a.GetThemeFactory(), nullptr);
  EXPECT_EQ(a.GetThemeFactory(), b.GetThemeFactory());
  EXPECT_EQ(a.GetThemeFactory(), TKThemeManager()->GetThemeFactory(RUNTIME_CLASS(CountedFactory)));
  auto* pShared = static_cast<CountedTheme*>(a.GetSafeTheme());
  ASSERT_NE(pShared, nullptr);
  EXPECT_EQ(pShared, b.GetSafeTheme());
  EXPECT_EQ(pShared->m_nTheme, 0);
  EXPECT_EQ(pShared->m_nRefreshed, 1);
  EXPECT_EQ(pShared->m_pFactory, a.GetThemeFactory());
  // Newest first.
  EXPECT_TRUE(Lists(a.GetThemeFactory(), &a));
  EXPECT_EQ(a.GetThemeFactory()->GetFirstHost(), &b);
}

TEST(ThemeManager, PrivateThemeReplacesTheSharedOneForOneControlAlone) {
  CountingHost a, b;
  CTKThemeManagerStyle* pShared = b.GetSafeTheme();
  const int live = g_liveThemes;
  auto* pOwn = new CountedTheme;
  a.SetTheme(pOwn);
  EXPECT_EQ(a.m_nChanged, 1);
  EXPECT_TRUE(a.m_bOwnsPrivateFactory);
  EXPECT_EQ(a.GetSafeTheme(), pOwn);
  EXPECT_EQ(pOwn->m_nRefreshed, 1);
  EXPECT_EQ(b.GetSafeTheme(), pShared);
  EXPECT_TRUE(Lists(a.m_pPrivateFactory, &a));
  EXPECT_FALSE(Lists(a.m_pSharedFactory, &a));

  // A second theme deletes the first private factory and its theme.
  a.SetTheme(new CountedTheme);
  EXPECT_EQ(g_liveThemes, live + 1);
  EXPECT_EQ(a.m_nChanged, 2);

  // Null returns to the shared theme, once; again it changes nothing.
  a.SetTheme(nullptr);
  EXPECT_EQ(g_liveThemes, live);
  EXPECT_EQ(a.m_nChanged, 3);
  EXPECT_EQ(a.GetSafeTheme(), pShared);
  EXPECT_TRUE(Lists(a.m_pSharedFactory, &a));
  a.SetTheme(nullptr);
  EXPECT_EQ(a.m_nChanged, 3);
}

TEST(ThemeManager, FactoryThemeChangeReachesEveryBoundHost) {
  CountingHost a, b;
  CTKThemeManagerStyleFactory* pFactory = a.GetThemeFactory();
  pFactory->SetTheme(new CountedTheme);
  EXPECT_EQ(a.m_nChanged, 1);
  EXPECT_EQ(b.m_nChanged, 1);
  EXPECT_EQ(pFactory->GetSafeTheme()->m_pFactory, pFactory);
}

TEST(ThemeManager, HostLeavesItsFactoryWhenDestroyed) {
  CountingHost a;
  CTKThemeManagerStyleFactory* pFactory = a.GetThemeFactory();
  {
    CountingHost b;
    EXPECT_TRUE(Lists(pFactory, &b));
    b.SetTheme(new CountedTheme);
  }
  EXPECT_EQ(pFactory->GetFirstHost(), &a);
  EXPECT_EQ(a.m_pNextHost, nullptr);
}

TEST(ThemeManager, DyingFactoryClearsTheHostsItStillLists) {
  CountingHost a, b;
  auto* pFactory = new CountedFactory;
  a.SetThemeFactoryClass(RUNTIME_CLASS(CountedFactory));
  a.GetThemeFactory()->RemoveHost(&a);
  a.GetThemeFactory()->RemoveHost(&b);
  a.m_pSharedFactory = b.m_pSharedFactory = pFactory;
  pFactory->AddHost(&a);
  pFactory->AddHost(&b);
  delete pFactory;
  EXPECT_EQ(a.GetThemeFactory(), nullptr);
  EXPECT_EQ(b.GetThemeFactory(), nullptr);
  EXPECT_EQ(a.GetSafeTheme(), nullptr);
  // The manager's list no longer holds it either.
  for (auto* p = TKThemeManager()->GetFirstFactory(); p != nullptr; p = p->m_pNextFactory) EXPECT_NE(p, pFactory);
}

TEST(ThemeManager, BaseFactoryMakesNoTheme) {
  CTKThemeManagerStyleHost host(RUNTIME_CLASS(CTKThemeManagerStyleFactory));
  ASSERT_NE(host.GetThemeFactory(), nullptr);
  EXPECT_EQ(host.GetSafeTheme(), nullptr);
  CTKThemeManagerStyleHost none;
  EXPECT_EQ(none.GetSafeTheme(), nullptr);
  none.SetTheme(nullptr);
}

}  // namespace
