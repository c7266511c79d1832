// Loading objects from a class-library archive of arbitrary bytes: class records, object references,
// strings, counts, arrays, lists and maps. It must never read outside the data, crash or hang; a bad
// stream raises CArchiveException (or CNotSupportedException for elements that cannot be archived).
// Every object the archive creates is a tracked node, so that each run frees what a failed load left.
#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "platform/classlib/classlib.h"

class CFuzzNode : public CObject {
  DECLARE_SERIAL(CFuzzNode)

 public:
  CFuzzNode() { Alive().insert(this); }
  ~CFuzzNode() override { Alive().erase(this); }

  void Serialize(CArchive& ar) override {
    ar >> m_name >> m_frame >> m_point >> m_value >> m_partner;
    m_children.Serialize(ar);
    m_words.Serialize(ar);
    m_texts.Serialize(ar);
    m_map.Serialize(ar);
    UINT schema = 0;
    ar.ReadClass(RUNTIME_CLASS(CFuzzNode), &schema);
  }

  static std::set<CFuzzNode*>& Alive() {
    static std::set<CFuzzNode*> alive;
    return alive;
  }

  CString m_name;
  CRect m_frame;
  CPoint m_point;
  int m_value = 0;
  CFuzzNode* m_partner = nullptr;
  CArray<CFuzzNode*, CFuzzNode*> m_children;
  CDWordArray m_words;
  CStringList m_texts;
  CMap<CString, LPCTSTR, int, int> m_map;
};
IMPLEMENT_SERIAL(CFuzzNode, CObject, 1)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exactly sized copy, so that a read past the end lands outside the allocation.
  std::vector<BYTE> copy(data, data + size);
  CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
  try {
    CArchive ar(&file, CArchive::load, 64);
    for (int i = 0; i < 4; ++i) ar.ReadObject(RUNTIME_CLASS(CFuzzNode));
    CString tail;
    ar >> tail;
    ar.ReadCount();
  } catch (CException* e) {
    e->Delete();
  }
  while (!CFuzzNode::Alive().empty()) delete *CFuzzNode::Alive().begin();
  return 0;
}
