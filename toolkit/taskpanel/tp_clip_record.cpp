#include "toolkit/taskpanel/tp_clip_record.h"

#include <cstdlib>
#include <limits>

#include "platform/classlib/carchive.h"
#include "platform/classlib/cexception.h"
#include "platform/classlib/cmemfile.h"

namespace taskpanel {

std::vector<BYTE> StoreRecord(CObject* pObject, const RecordExchange& exchange) {
  if (pObject == nullptr) return {};
  CMemFile file(4096);
  try {
    CArchive ar(&file, CArchive::store, 4096);
    ar.WriteClass(pObject->GetRuntimeClass());
    CTKPPropExchangeArchive px(ar);
    exchange(pObject, &px);
    ar.Close();
  } catch (CException* e) {
    e->Delete();
    return {};
  }
  const auto size = static_cast<std::size_t>(file.GetLength());
  BYTE* bytes = file.Detach();
  std::vector<BYTE> record(bytes, bytes + size);
  std::free(bytes);
  return record;
}

CObject* LoadRecord(const BYTE* data, std::size_t size, const CRuntimeClass* pBase, const RecordExchange& exchange,
                    const RecordDiscard& discard) {
  if (data == nullptr || size == 0 || size > std::numeric_limits<UINT>::max() || pBase == nullptr) return nullptr;
  // The memory file only reads the caller's bytes; it never writes them.
  CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
  CObject* pObject = nullptr;
  try {
    CArchive ar(&file, CArchive::load, 4096);
    // ReadClass refuses a class that does not derive from pBase before anything is made.
    const CRuntimeClass* pClass = ar.ReadClass(pBase);
    pObject = pClass->CreateObject();
    if (pObject == nullptr) AfxThrowArchiveException(CArchiveException::badClass);
    CTKPPropExchangeArchive px(ar);
    exchange(pObject, &px);
    ar.Close();
  } catch (CException* e) {
    e->Delete();
    if (pObject != nullptr) discard(pObject);
    return nullptr;
  } catch (...) {  // out of memory while reading
    if (pObject != nullptr) discard(pObject);
    return nullptr;
  }
  return pObject;
}

}  // namespace taskpanel
