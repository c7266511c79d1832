#include "toolkit/controls/tk_theme_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

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

// A second family, so that a host can change class.
class OtherCountedFactory : public CountedFactory {
  DECLARE_DYNCREATE(OtherCountedFactory)
};
IMPLEMENT_DYNCREATE(OtherCountedFactory, CountedFactory)

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

// A theme some factory holds is not the caller's to give away: the control's own changes nothing, and
// another's (a second control's, the shared one) stays with its factory. Adopting either used the theme
// after the private factory that held it was deleted, or gave it two owners.
TEST(ThemeManager, AThemeAFactoryHoldsIsNotTakenFromIt) {
  CountingHost a, b;
  CTKThemeManagerStyle* pShared = b.GetSafeTheme();
  auto* pOwn = new CountedTheme;
  ASSERT_TRUE(a.SetTheme(pOwn));
  const int live = g_liveThemes;
  EXPECT_TRUE(a.SetTheme(pOwn));
  EXPECT_EQ(a.GetSafeTheme(), pOwn);
  EXPECT_EQ(a.m_nChanged, 1);
  EXPECT_FALSE(b.SetTheme(pOwn));
  EXPECT_FALSE(b.m_bOwnsPrivateFactory);
  EXPECT_FALSE(a.SetTheme(pShared));
  EXPECT_EQ(a.GetSafeTheme(), pOwn);
  EXPECT_EQ(pShared->m_pFactory, b.GetThemeFactory());
  EXPECT_FALSE(b.GetThemeFactory()->SetTheme(pOwn));
  EXPECT_EQ(pOwn->m_pFactory, a.m_pPrivateFactory);
  EXPECT_EQ(g_liveThemes, live);
}

// Random sequences of the public calls (controls made and destroyed, themes given, shared themes replaced,
// factory classes changed), seeded; after every call each control is listed once, by the factory it
// uses, and every live theme has exactly one factory that points back at it. Under ASan a theme used
// after it was freed stops the run.
class ThemeSequence {
 public:
  explicit ThemeSequence(unsigned seed) : m_random(seed) {}

  void Step() {
    switch (Pick(9)) {
      case 0:
        if (m_hosts.size() < 6) m_hosts.push_back(std::make_unique<CountingHost>());
        break;
      case 1:
        if (!m_hosts.empty()) m_hosts.erase(m_hosts.begin() + Pick(static_cast<int>(m_hosts.size())));
        break;
      case 2: Host().SetTheme(new CountedTheme); break;
      case 3: Host().SetTheme(nullptr); break;
      case 4: {
        CountingHost& host = Host();
        host.SetTheme(host.GetSafeTheme());
        break;
      }
      case 5: Host().SetTheme(Host().GetSafeTheme()); break;  // most often another control's
      case 6: Shared()->SetTheme(Pick(2) == 0 ? new CountedTheme : Host().GetSafeTheme()); break;
      case 7: Host().SetThemeFactoryClass(Pick(2) == 0 ? RUNTIME_CLASS(CountedFactory) : RUNTIME_CLASS(OtherCountedFactory)); break;
      default: Host().GetSafeTheme(); break;
    }
  }

  ::testing::AssertionResult Sound() const {
    int themes = 0;
    std::vector<const CTKThemeManagerStyle*> seen;
    for (auto* p = TKThemeManager()->GetFirstFactory(); p != nullptr; p = p->m_pNextFactory) {
      if (p->m_pTheme == nullptr) continue;
      if (p->m_pTheme->m_pFactory != p) return ::testing::AssertionFailure() << "a theme points at another factory";
      if (std::find(seen.begin(), seen.end(), p->m_pTheme) != seen.end())
        return ::testing::AssertionFailure() << "two factories hold one theme";
      seen.push_back(p->m_pTheme);
      themes += dynamic_cast<const CountedTheme*>(p->m_pTheme) != nullptr ? 1 : 0;
    }
    if (themes != g_liveThemes) return ::testing::AssertionFailure() << g_liveThemes << " themes live, " << themes << " held";
    for (const auto& pHost : m_hosts) {
      int listed = 0, byItsOwn = 0;
      for (auto* p = TKThemeManager()->GetFirstFactory(); p != nullptr; p = p->m_pNextFactory) {
        int length = 0;
        for (auto* h = p->GetFirstHost(); h != nullptr; h = h->m_pNextHost) {
          if (++length > 1000) return ::testing::AssertionFailure() << "a list of controls runs in a circle";
          listed += h == pHost.get() ? 1 : 0;
          byItsOwn += h == pHost.get() && p == pHost->GetThemeFactory() ? 1 : 0;
        }
      }
      if (listed != 1 || byItsOwn != 1) return ::testing::AssertionFailure() << "a control is listed " << listed << " times";
    }
    return ::testing::AssertionSuccess();
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
  CountingHost& Host() {
    if (m_hosts.empty()) m_hosts.push_back(std::make_unique<CountingHost>());
    return *m_hosts[static_cast<size_t>(Pick(static_cast<int>(m_hosts.size())))];
  }
  CTKThemeManagerStyleFactory* Shared() {
    return TKThemeManager()->GetThemeFactory(Pick(2) == 0 ? RUNTIME_CLASS(CountedFactory) : RUNTIME_CLASS(OtherCountedFactory));
  }

  std::mt19937 m_random;
  std::vector<std::unique_ptr<CountingHost>> m_hosts;
};

TEST(ThemeManager, RandomSequencesOfCallsKeepOneOwnerPerThemeAndOneListPerControl) {
  for (unsigned seed = 1; seed <= 200; ++seed) {
    ThemeSequence sequence(seed);
    for (int step = 0; step < 120; ++step) {
      sequence.Step();
      ASSERT_TRUE(sequence.Sound()) << "seed " << seed << ", step " << step;
    }
  }
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
