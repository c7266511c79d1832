#include "toolkit/common/tk_window_pos.h"

#include "toolkit/common/registry_manager.h"
#include "toolkit/common/window_pos_record.h"

namespace {

LPCTSTR SectionOr(LPCTSTR section) { return section != nullptr ? section : _T("Settings"); }
LPCTSTR ValueOr(LPCTSTR value) { return value != nullptr ? value : _T("Window Position"); }

bool Exists(CWnd* pWnd) { return pWnd != nullptr && pWnd->m_hWnd != nullptr && ::IsWindow(pWnd->m_hWnd); }

}  // namespace

// The stored length word counts the whole stored value, not the structure the system fills.
static_assert(tk::kWindowPosBytes == sizeof(WINDOWPLACEMENT) + 4, "stored record is the placement and a word");

CTKWindowPos::CTKWindowPos() : WINDOWPLACEMENT{} {
  length = tk::kWindowPosBytes;
  showCmd = SW_SHOW;
}

BOOL CTKWindowPos::SaveWindowPos(CWnd* pWnd, LPCTSTR lpszValue, LPCTSTR lpszSection) {
  if (!Exists(pWnd)) return FALSE;
  const UINT stored = length;
  length = sizeof(WINDOWPLACEMENT);  // the system wants the structure's own size
  const BOOL read = ::GetWindowPlacement(pWnd->m_hWnd, this);
  length = stored;
  if (!read) return FALSE;
  showCmd = tk::NormalizedShowCommand(showCmd);
  tk::WindowPosRecord r;
  r.length = length;
  r.flags = flags;
  r.showCmd = showCmd;
  r.minX = ptMinPosition.x;
  r.minY = ptMinPosition.y;
  r.maxX = ptMaxPosition.x;
  r.maxY = ptMaxPosition.y;
  r.left = rcNormalPosition.left;
  r.top = rcNormalPosition.top;
  r.right = rcNormalPosition.right;
  r.bottom = rcNormalPosition.bottom;
  const auto bytes = tk::EncodeWindowPos(r);
  CTKRegistryManager(HKEY_CURRENT_USER)
      .WriteProfileBinary(SectionOr(lpszSection), ValueOr(lpszValue), bytes.data(), static_cast<UINT>(bytes.size()));
  return TRUE;
}

BOOL CTKWindowPos::LoadWindowPos(CWnd* pWnd, LPCTSTR lpszValue, LPCTSTR lpszSection) {
  if (!Exists(pWnd)) return FALSE;
  BYTE* data = nullptr;
  UINT size = 0;
  CTKRegistryManager(HKEY_CURRENT_USER).GetProfileBinary(SectionOr(lpszSection), ValueOr(lpszValue), &data, &size);
  const auto r = tk::DecodeWindowPos(data, size);
  delete[] data;
  if (!r) return FALSE;
  length = r->length;  // kept as stored
  flags = r->flags;
  // As on saving: a value that says minimised (or hidden) must not bring the window back that way.
  showCmd = tk::NormalizedShowCommand(r->showCmd);
  ptMinPosition = POINT{r->minX, r->minY};
  ptMaxPosition = POINT{r->maxX, r->maxY};
  rcNormalPosition = RECT{r->left, r->top, r->right, r->bottom};
  WINDOWPLACEMENT applied = *this;
  applied.length = sizeof(WINDOWPLACEMENT);
  ::SetWindowPlacement(pWnd->m_hWnd, &applied);
  return TRUE;
}
