#include "ui/controls/pie_chart.h"

#include <set>

#include "platform/classlib/carchive.h"
#include "platform/classlib/cexception.h"

IMPLEMENT_SERIAL(CPieSlice, CObject, 1)
IMPLEMENT_SERIAL(CPieChart, CObject, 1)

namespace {
constexpr DWORD kFieldsVersion = 1;  // the word in front of each object's fields
}  // namespace

void CPieSlice::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar << kFieldsVersion << m_nPercent << m_colour << m_strDescription;
    return;
  }
  DWORD version = 0;
  ar >> version;
  if (version != kFieldsVersion) return;
  ar >> m_nPercent >> m_colour >> m_strDescription;
}

CPieChart::~CPieChart() {
  if (m_bOwnsSlices == 1 || m_loadedSlices) RemoveAllSlices();
}

int CPieChart::AddSlice(CPieSlice* pSlice) { return static_cast<int>(m_slices.Add(pSlice)); }

void CPieChart::RemoveAllSlices() {
  for (int i = 0; i < GetSliceCount(); ++i) delete m_slices.GetAt(i);
  m_slices.RemoveAll();
  m_loadedSlices = false;
}

void CPieChart::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar << kFieldsVersion << m_bOwnsSlices << m_colour << m_nValue << m_strTitle;
    m_slices.Serialize(ar);
    return;
  }
  RemoveAllSlices();
  DWORD version = 0;
  ar >> version;
  if (version != kFieldsVersion) return;
  ar >> m_bOwnsSlices >> m_colour >> m_nValue >> m_strTitle;
  CObArray loaded;
  loaded.Serialize(ar);
  // The array may name any stored object, or one object twice: only distinct slices are taken, so
  // the chart never deletes something it does not hold alone.
  std::set<CObject*> seen;
  for (int i = 0; i < loaded.GetSize(); ++i) {
    CObject* object = loaded.GetAt(i);
    if (object == nullptr || object == this || !object->IsKindOf(RUNTIME_CLASS(CPieSlice)) ||
        !seen.insert(object).second) {
      AfxThrowArchiveException(CArchiveException::badClass);
    }
  }
  for (int i = 0; i < loaded.GetSize(); ++i) m_slices.Add(loaded.GetAt(i));
  m_loadedSlices = true;
}
