// The toolkit's control themes: one shared theme factory per factory class (CTKThemeManager), factories
// that make theme objects by number and know the controls bound to them, the host every themed control
// embeds, and the base of all theme objects. Portable: the window-side parts of a theme (the parent's
// snapshot for transparent controls) live in tk_theme_snapshot.cpp.
#pragma once

#include "platform/classlib/cmap.h"
#include "platform/classlib/cobject.h"

class CDC;
class CWnd;
class CTKThemeManagerStyleFactory;

// What a theme keeps of its parent's background; the Windows build holds a bitmap in it.
class CTKThemeSnapShot {
 public:
  virtual ~CTKThemeSnapShot() = default;
};

class CTKThemeManagerStyle {
 public:
  CTKThemeManagerStyle() = default;
  virtual ~CTKThemeManagerStyle() { delete m_pSnapShot; }
  CTKThemeManagerStyle(const CTKThemeManagerStyle&) = delete;
  CTKThemeManagerStyle& operator=(const CTKThemeManagerStyle&) = delete;

  // Each theme reads its colours and metrics here.
  virtual void RefreshMetrics() {}
  // The parent's pixels under the control, from the parent's client area (Windows build).
  BOOL TakeSnapShot(CWnd* pWnd);
  // Copies a fresh snapshot to the DC when the control is WS_EX_TRANSPARENT (Windows build).
  BOOL DrawTransparentBack(CDC* pDC, CWnd* pWnd);

  CTKThemeManagerStyleFactory* m_pFactory = nullptr;
  int m_nTheme = 0;
  CTKThemeSnapShot* m_pSnapShot = nullptr;
};

class CTKThemeManagerStyleHost;

class CTKThemeManagerStyleFactory : public CObject {
  DECLARE_DYNCREATE(CTKThemeManagerStyleFactory)

 public:
  CTKThemeManagerStyleFactory();
  ~CTKThemeManagerStyleFactory() override;
  CTKThemeManagerStyleFactory(const CTKThemeManagerStyleFactory&) = delete;
  CTKThemeManagerStyleFactory& operator=(const CTKThemeManagerStyleFactory&) = delete;

  // A new theme of the number, or null (the base makes none).
  virtual CTKThemeManagerStyle* CreateTheme(int nTheme);
  virtual void RefreshMetrics();

  // The current theme, made on first use.
  CTKThemeManagerStyle* GetSafeTheme();
  // Takes ownership of the theme and tells every bound host. A theme another factory holds stays there:
  // FALSE, nothing changes (two owners would free it twice).
  BOOL SetTheme(CTKThemeManagerStyle* pTheme);

  void AddHost(CTKThemeManagerStyleHost* pHost);
  void RemoveHost(CTKThemeManagerStyleHost* pHost);
  CTKThemeManagerStyleHost* GetFirstHost() const { return m_pHosts; }

  CTKThemeManagerStyle* m_pTheme = nullptr;
  CTKThemeManagerStyleHost* m_pHosts = nullptr;
  CTKThemeManagerStyleFactory* m_pNextFactory = nullptr;

 private:
  void Adopt(CTKThemeManagerStyle* pTheme);
};

class CTKThemeManagerStyleHost {
 public:
  explicit CTKThemeManagerStyleHost(CRuntimeClass* pFactoryClass = nullptr);
  virtual ~CTKThemeManagerStyleHost();
  CTKThemeManagerStyleHost(const CTKThemeManagerStyleHost&) = delete;
  CTKThemeManagerStyleHost& operator=(const CTKThemeManagerStyleHost&) = delete;

  virtual CTKThemeManagerStyleFactory* CreateThemeFactory();
  virtual void OnThemeChanged() {}

  void SetThemeFactoryClass(CRuntimeClass* pFactoryClass);
  CTKThemeManagerStyleFactory* GetThemeFactory() const {
    return m_pPrivateFactory != nullptr ? m_pPrivateFactory : m_pSharedFactory;
  }
  CTKThemeManagerStyle* GetSafeTheme() const;
  // A theme of this control alone (owned from now on); null returns it to the shared theme. The theme
  // the control already holds changes nothing; one that another factory holds is refused (FALSE) and
  // stays where it is.
  BOOL SetTheme(CTKThemeManagerStyle* pTheme);

  BOOL m_bOwnsPrivateFactory = FALSE;
  CRuntimeClass* m_pFactoryClass = nullptr;
  CTKThemeManagerStyleFactory* m_pPrivateFactory = nullptr;
  CTKThemeManagerStyleFactory* m_pSharedFactory = nullptr;
  CTKThemeManagerStyleHost* m_pNextHost = nullptr;

 private:
  friend class CTKThemeManagerStyleFactory;
  // The factory died: the host no longer points at it.
  void ForgetFactory(CTKThemeManagerStyleFactory* pFactory);
};

class CTKThemeManager {
 public:
  CTKThemeManager() = default;
  ~CTKThemeManager();
  CTKThemeManager(const CTKThemeManager&) = delete;
  CTKThemeManager& operator=(const CTKThemeManager&) = delete;

  // The shared factory of the class, made on first use; null when the class cannot make objects.
  CTKThemeManagerStyleFactory* GetThemeFactory(CRuntimeClass* pFactoryClass);
  int GetCurrentTheme() const { return m_nTheme; }

  void LinkFactory(CTKThemeManagerStyleFactory* pFactory);
  void UnlinkFactory(CTKThemeManagerStyleFactory* pFactory);
  CTKThemeManagerStyleFactory* GetFirstFactory() const { return m_pFactories; }

 private:
  CMapPtrToPtr m_mapFactories{10};
  int m_nTheme = 0;
  CTKThemeManagerStyleFactory* m_pFactories = nullptr;
};

CTKThemeManager* TKThemeManager();
