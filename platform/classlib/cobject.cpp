#include "platform/classlib/cobject.h"

#include <cstring>

namespace {

// Zero-initialised before any static constructor runs, so registrations in any order are safe.
CRuntimeClass* g_firstClass = nullptr;

// Class names are ASCII identifiers; any other character cannot match.
bool SameName(LPCSTR name, LPCTSTR wide) {
  for (; *name != 0 && *wide != 0; ++name, ++wide) {
    if (static_cast<unsigned char>(*name) != static_cast<unsigned>(*wide)) return false;
  }
  return *name == 0 && *wide == 0;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), kNoSchema, nullptr,
                                       nullptr, nullptr};
static const ClassRegistration classRegistrationCObject(&CObject::classCObject);

ClassRegistration::ClassRegistration(CRuntimeClass* pNewClass) {
  pNewClass->m_pNextClass = g_firstClass;
  g_firstClass = pNewClass;
}

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
    if (c == pBaseClass) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (lpszClassName == nullptr) return nullptr;
  for (CRuntimeClass* c = g_firstClass; c != nullptr; c = c->m_pNextClass) {
    if (std::strcmp(c->m_lpszClassName, lpszClassName) == 0) return c;
  }
  return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(LPCTSTR lpszClassName) {
  if (lpszClassName == nullptr) return nullptr;
  for (CRuntimeClass* c = g_firstClass; c != nullptr; c = c->m_pNextClass) {
    if (SameName(c->m_lpszClassName, lpszClassName)) return c;
  }
  return nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
  const CRuntimeClass* c = FromName(lpszClassName);
  return c != nullptr ? c->CreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCTSTR lpszClassName) {
  const CRuntimeClass* c = FromName(lpszClassName);
  return c != nullptr ? c->CreateObject() : nullptr;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

void CObject::Serialize(CArchive&) {}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != kNoSchema; }
