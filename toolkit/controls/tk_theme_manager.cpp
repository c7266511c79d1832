#include "toolkit/controls/tk_theme_manager.h"

IMPLEMENT_DYNCREATE(CTKThemeManagerStyleFactory, CObject)

CTKThemeManager* TKThemeManager() {
  static CTKThemeManager manager;
  return &manager;
}

CTKThemeManager::~CTKThemeManager() {
  POSITION pos = m_mapFactories.GetStartPosition();
  while (pos != nullptr) {
    void* key = nullptr;
    void* value = nullptr;
    m_mapFactories.GetNextAssoc(pos, key, value);
    delete static_cast<CTKThemeManagerStyleFactory*>(value);
  }
  m_mapFactories.RemoveAll();
  m_pFactories = nullptr;
}

CTKThemeManagerStyleFactory* CTKThemeManager::GetThemeFactory(CRuntimeClass* pFactoryClass) {
  if (pFactoryClass == nullptr) return nullptr;
  void* value = nullptr;
  if (m_mapFactories.Lookup(pFactoryClass, value)) return static_cast<CTKThemeManagerStyleFactory*>(value);
  auto* pFactory = dynamic_cast<CTKThemeManagerStyleFactory*>(pFactoryClass->CreateObject());
  if (pFactory != nullptr) m_mapFactories.SetAt(pFactoryClass, pFactory);
  return pFactory;
}

void CTKThemeManager::LinkFactory(CTKThemeManagerStyleFactory* pFactory) {
  pFactory->m_pNextFactory = m_pFactories;
  m_pFactories = pFactory;
}

void CTKThemeManager::UnlinkFactory(CTKThemeManagerStyleFactory* pFactory) {
  for (CTKThemeManagerStyleFactory** pp = &m_pFactories; *pp != nullptr; pp = &(*pp)->m_pNextFactory) {
    if (*pp == pFactory) {
      *pp = pFactory->m_pNextFactory;
      break;
    }
  }
  pFactory->m_pNextFactory = nullptr;
}

CTKThemeManagerStyleFactory::CTKThemeManagerStyleFactory() { TKThemeManager()->LinkFactory(this); }

CTKThemeManagerStyleFactory::~CTKThemeManagerStyleFactory() {
  delete m_pTheme;
  TKThemeManager()->UnlinkFactory(this);
  // Hosts still bound must not keep pointing at a factory that is gone.
  while (m_pHosts != nullptr) {
    CTKThemeManagerStyleHost* pHost = m_pHosts;
    m_pHosts = pHost->m_pNextHost;
    pHost->m_pNextHost = nullptr;
    pHost->ForgetFactory(this);
  }
}

CTKThemeManagerStyle* CTKThemeManagerStyleFactory::CreateTheme(int) { return nullptr; }

void CTKThemeManagerStyleFactory::RefreshMetrics() {
  if (m_pTheme != nullptr) m_pTheme->RefreshMetrics();
}

void CTKThemeManagerStyleFactory::Adopt(CTKThemeManagerStyle* pTheme) {
  m_pTheme = pTheme;
  if (pTheme == nullptr) return;
  pTheme->m_pFactory = this;
  pTheme->RefreshMetrics();
}

CTKThemeManagerStyle* CTKThemeManagerStyleFactory::GetSafeTheme() {
  if (m_pTheme == nullptr) Adopt(CreateTheme(TKThemeManager()->GetCurrentTheme()));
  return m_pTheme;
}

BOOL CTKThemeManagerStyleFactory::SetTheme(CTKThemeManagerStyle* pTheme) {
  if (pTheme != nullptr && pTheme->m_pFactory != nullptr && pTheme->m_pFactory != this) return FALSE;
  if (pTheme != m_pTheme) delete m_pTheme;
  Adopt(pTheme);
  // A host may leave the list while it is told (its own SetTheme): the next one is taken first.
  for (CTKThemeManagerStyleHost* pHost = m_pHosts; pHost != nullptr;) {
    CTKThemeManagerStyleHost* pNext = pHost->m_pNextHost;
    pHost->OnThemeChanged();
    pHost = pNext;
  }
  return TRUE;
}

void CTKThemeManagerStyleFactory::AddHost(CTKThemeManagerStyleHost* pHost) {
  pHost->m_pNextHost = m_pHosts;
  m_pHosts = pHost;
}

void CTKThemeManagerStyleFactory::RemoveHost(CTKThemeManagerStyleHost* pHost) {
  for (CTKThemeManagerStyleHost** pp = &m_pHosts; *pp != nullptr; pp = &(*pp)->m_pNextHost) {
    if (*pp == pHost) {
      *pp = pHost->m_pNextHost;
      break;
    }
  }
  pHost->m_pNextHost = nullptr;
}

CTKThemeManagerStyleHost::CTKThemeManagerStyleHost(CRuntimeClass* pFactoryClass) {
  if (pFactoryClass != nullptr) SetThemeFactoryClass(pFactoryClass);
}

CTKThemeManagerStyleHost::~CTKThemeManagerStyleHost() {
  if (CTKThemeManagerStyleFactory* pFactory = GetThemeFactory()) pFactory->RemoveHost(this);
  if (m_bOwnsPrivateFactory) delete m_pPrivateFactory;
}

CTKThemeManagerStyleFactory* CTKThemeManagerStyleHost::CreateThemeFactory() {
  if (m_pFactoryClass == nullptr) return nullptr;
  return dynamic_cast<CTKThemeManagerStyleFactory*>(m_pFactoryClass->CreateObject());
}

void CTKThemeManagerStyleHost::SetThemeFactoryClass(CRuntimeClass* pFactoryClass) {
  if (m_pSharedFactory != nullptr && m_pPrivateFactory == nullptr) m_pSharedFactory->RemoveHost(this);
  m_pFactoryClass = pFactoryClass;
  m_pSharedFactory = TKThemeManager()->GetThemeFactory(pFactoryClass);
  if (m_pPrivateFactory == nullptr && m_pSharedFactory != nullptr) m_pSharedFactory->AddHost(this);
}

CTKThemeManagerStyle* CTKThemeManagerStyleHost::GetSafeTheme() const {
  CTKThemeManagerStyleFactory* pFactory = GetThemeFactory();
  return pFactory != nullptr ? pFactory->GetSafeTheme() : nullptr;
}

BOOL CTKThemeManagerStyleHost::SetTheme(CTKThemeManagerStyle* pTheme) {
  if (m_pPrivateFactory == nullptr && pTheme == nullptr) return TRUE;
  // A theme that a factory holds is that factory's: this host's own stays as it is, another's is not
  // taken (deleting the private factory first would free the very theme about to be adopted).
  if (pTheme != nullptr && pTheme->m_pFactory != nullptr) return pTheme->m_pFactory == m_pPrivateFactory;
  if (CTKThemeManagerStyleFactory* pFactory = GetThemeFactory()) pFactory->RemoveHost(this);
  if (m_bOwnsPrivateFactory) delete m_pPrivateFactory;
  m_pPrivateFactory = nullptr;
  m_bOwnsPrivateFactory = FALSE;
  if (pTheme != nullptr) {
    m_pPrivateFactory = CreateThemeFactory();
    if (m_pPrivateFactory != nullptr) {
      m_pPrivateFactory->SetTheme(pTheme);
      m_bOwnsPrivateFactory = TRUE;
    } else {
      delete pTheme;  // no factory class to keep it in
    }
  }
  OnThemeChanged();
  if (CTKThemeManagerStyleFactory* pFactory = GetThemeFactory()) pFactory->AddHost(this);
  return TRUE;
}

void CTKThemeManagerStyleHost::ForgetFactory(CTKThemeManagerStyleFactory* pFactory) {
  if (m_pSharedFactory == pFactory) m_pSharedFactory = nullptr;
  if (m_pPrivateFactory == pFactory) {
    m_pPrivateFactory = nullptr;
    m_bOwnsPrivateFactory = FALSE;
  }
}
