// The root of the class library: CObject and its run-time class records.
//
// Every class that declares itself DYNAMIC, DYNCREATE or SERIAL gets one CRuntimeClass record: its name,
// size, schema number, base class and (for DYNCREATE and SERIAL) a creation function. The records of a
// program form one registry, filled before main() runs, so that an object can be created from its class
// name (as archives and property exchanges do) and its kind can be asked at run time.
#pragma once

#include <cstddef>

#include "platform/classlib/cltypes.h"

class CObject;
class CArchive;

// The schema of a class that is not serialisable (DYNAMIC and DYNCREATE classes).
constexpr UINT kNoSchema = 0xFFFF;

// An aggregate, so that every record is constant-initialised and usable from any static constructor.
struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                    // kNoSchema unless the class is SERIAL
  CObject* (*m_pfnCreateObject)();  // null unless DYNCREATE or SERIAL
  CRuntimeClass* m_pBaseClass;
  CRuntimeClass* m_pNextClass;  // the registry's chain

  // A new object of this class, or null when the class cannot be created by name.
  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

  // The registered class of that name, or null.
  static CRuntimeClass* FromName(LPCSTR lpszClassName);
  static CRuntimeClass* FromName(LPCTSTR lpszClassName);
  // A new object of the registered class of that name; null when there is none or it is not creatable.
  static CObject* CreateObject(LPCSTR lpszClassName);
  static CObject* CreateObject(LPCTSTR lpszClassName);

  // The class record of an archive: the schema, then the name (see carchive.h).
  void Store(CArchive& ar) const;
  // Reads a class record; null when the named class is not registered (*pwSchemaNum gets the schema).
  static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

// Enters a class into the registry; one static instance per class (made by the IMPLEMENT macros).
struct ClassRegistration {
  explicit ClassRegistration(CRuntimeClass* pNewClass);
};

class CObject {
 public:
  virtual ~CObject() = default;
  virtual CRuntimeClass* GetRuntimeClass() const;
  // Writes the object to, or reads it from, the archive; CObject itself holds nothing to keep.
  virtual void Serialize(CArchive& ar);

  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const;

  static CRuntimeClass classCObject;
  static CRuntimeClass* GetThisClass() { return &classCObject; }

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                       \
 public:                                                                  \
  static CRuntimeClass class##class_name;                                 \
  static CRuntimeClass* GetThisClass() { return &class##class_name; }     \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

// A SERIAL class can also be read from an archive as a pointer to itself: ar >> pObject.
#define DECLARE_SERIAL(class_name)  \
  DECLARE_DYNCREATE(class_name)     \
  friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define CLASSLIB_RUNTIME_RECORD(class_name, base_class_name, wSchema, pfnNew)                        \
  CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)),  \
                                                 wSchema, pfnNew, RUNTIME_CLASS(base_class_name),    \
                                                 nullptr};                                           \
  static const ClassRegistration classRegistration##class_name(RUNTIME_CLASS(class_name));           \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  CLASSLIB_RUNTIME_RECORD(class_name, base_class_name, kNoSchema, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                         \
  CObject* class_name::CreateObject() { return new class_name; }                 \
  CLASSLIB_RUNTIME_RECORD(class_name, base_class_name, kNoSchema, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                     \
  CObject* class_name::CreateObject() { return new class_name; }                                 \
  CLASSLIB_RUNTIME_RECORD(class_name, base_class_name, wSchema, class_name::CreateObject)        \
  CArchive& operator>>(CArchive& ar, class_name*& pOb) {                                          \
    pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                     \
    return ar;                                                                                    \
  }
