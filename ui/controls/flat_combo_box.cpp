#include "ui/controls/flat_combo_box.h"

#include <cstring>

#include "ui/controls/hls_color.h"

namespace ui {

namespace {

// The program's controls do not link the toolkit: its command bars are known by their class's name, as
// the class library's control bars are.
bool IsControlBarClass(const CRuntimeClass* runtime) {
  for (; runtime != nullptr; runtime = runtime->m_pBaseClass) {
    const char* name = runtime->m_lpszClassName;
    if (name != nullptr && (std::strcmp(name, "CControlBar") == 0 || std::strcmp(name, "CTKPCommandBar") == 0)) {
      return true;
    }
  }
  return false;
}

}  // namespace

// ---- HoverTracker -----------------------------------------------------------------------------------

void HoverTracker::TrackLeave(HWND window, bool cancel) {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE | (cancel ? TME_CANCEL : 0);
  track.hwndTrack = window;
  ::TrackMouseEvent(&track);
}

bool HoverTracker::Enter(HWND window) {
  if (!window) window = m_owner->GetSafeHwnd();
  if (m_hovering && window == m_tracked) return false;
  if (m_hovering) {
    // Moving between the owner and its parts: the leave tracking follows, nothing repaints.
    TrackLeave(m_tracked, true);
    TrackLeave(window, false);
    m_tracked = window;
    return false;
  }
  m_hovering = 1;
  m_tracked = window;
  Refresh();
  TrackLeave(window, false);
  return true;
}

void HoverTracker::Leave(HWND window) {
  if (!window) window = m_owner->GetSafeHwnd();
  if (window != m_tracked || !m_hovering) return;
  m_hovering = 0;
  Refresh();
}

void HoverTracker::Refresh() {
  HWND owner = m_owner->GetSafeHwnd();
  if (!owner) return;
  if (m_flags & kRepaint) ::RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
  if (m_flags & kRecalcFrame) {
    ::SetWindowPos(owner, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---- the combo box's edit ---------------------------------------------------------------------------

class FlatComboBox::EditHook : public CWnd {
 public:
  explicit EditHook(FlatComboBox* box) : m_box(box) {}

 protected:
  void OnKillFocus(CWnd*) {
    Default();
    m_box->Invalidate(FALSE);
  }
  void OnMouseMove(UINT, CPoint) {
    m_box->m_tracker.Enter(m_hWnd);
    Default();
  }
  void OnMouseLeave() {
    m_box->m_tracker.Leave(m_hWnd);
    Default();
  }
  DECLARE_MESSAGE_MAP()

 private:
  FlatComboBox* m_box;
};

BEGIN_MESSAGE_MAP(FlatComboBox::EditHook, CWnd)
  ON_WM_KILLFOCUS()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

// ---- FlatComboBox -----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(FlatComboBox, CComboBox)
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_GETDLGCODE()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSELEAVE()
  ON_WM_PAINT()
  ON_WM_CREATE()
END_MESSAGE_MAP()

FlatComboBox::FlatComboBox() : m_tracker(this, HoverTracker::kRepaint) {}

FlatComboBox::~FlatComboBox() { delete m_edit; }

void FlatComboBox::PreSubclassWindow() {
  CComboBox::PreSubclassWindow();
  HookEdit();
}

// A created box makes its edit while it is created, after PreSubclassWindow.
int FlatComboBox::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  HookEdit();
  return 0;
}

void FlatComboBox::HookEdit() {
  HWND edit = ::GetWindow(m_hWnd, GW_CHILD);
  if (edit && !m_edit) {
    m_edit = new EditHook(this);
    m_edit->SubclassWindow(edit);
  }
}

bool FlatComboBox::IsHot() const {
  HWND focus = ::GetFocus();
  return m_tracker.IsHovering() || focus == m_hWnd || (focus && ::GetParent(focus) == m_hWnd);
}

CWnd* FlatComboBox::GetControlBar() const {
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  return parent != nullptr && IsControlBarClass(parent->GetRuntimeClass()) ? parent : nullptr;
}

COLORREF FlatComboBox::BarFace(CWnd* bar) const {
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  RECT client, box;
  ::GetClientRect(bar->GetSafeHwnd(), &client);
  ::GetWindowRect(m_hWnd, &box);
  ::MapWindowPoints(nullptr, bar->GetSafeHwnd(), reinterpret_cast<POINT*>(&box), 2);
  if (client.right <= 0 || client.bottom <= 0) return face;
  const int x = box.left > 0 ? box.left - 1 : box.right;
  const int y = (box.top + box.bottom) / 2;
  if (x < 0 || x >= client.right || y < 0 || y >= client.bottom) return face;
  // The bar prints itself (without its children) into a bitmap of its own; a bar that cannot leaves
  // the button face there.
  HDC screen = ::GetDC(bar->GetSafeHwnd());
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  ::ReleaseDC(bar->GetSafeHwnd(), screen);
  COLORREF colour = face;
  if (memory != nullptr && bitmap != nullptr) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HBRUSH fill = ::CreateSolidBrush(face);
    ::FillRect(memory, &client, fill);
    ::DeleteObject(fill);
    ::SendMessageW(bar->GetSafeHwnd(), WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF pixel = ::GetPixel(memory, x, y);
    if (pixel != CLR_INVALID) colour = pixel;
    ::SelectObject(memory, old);
  }
  if (bitmap != nullptr) ::DeleteObject(bitmap);
  if (memory != nullptr) ::DeleteDC(memory);
  return colour;
}

void FlatComboBox::OnWindowPosChanging(WINDOWPOS* position) {
  if (!(position->flags & SWP_NOSIZE) && m_pendingHeight == -1) {
    if (m_selectionHeight == -1) m_selectionHeight = static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)));
    // The box is given the height of its open list (the combo box keeps its closed height itself); the
    // height asked for goes to the selection field once the move is done.
    m_pendingHeight = position->cy;
    const int itemHeight = static_cast<int>(SendMessage(CB_GETITEMHEIGHT, 0));
    const int openHeight = 7 * ::GetSystemMetrics(SM_CYBORDER) + m_visibleItems * itemHeight + m_selectionHeight;
    position->cy = openHeight;
    Default();
    // A combo box that does not keep its closed height by itself would stand as tall as its open list.
    if (position->cy == openHeight && openHeight > m_pendingHeight) position->cy = m_pendingHeight;
    return;
  }
  Default();
}

void FlatComboBox::OnWindowPosChanged(WINDOWPOS* position) {
  Default();
  if (!(position->flags & SWP_NOSIZE) && m_pendingHeight != -1) {
    const int pending = m_pendingHeight;
    m_pendingHeight = -1;
    if (pending > 6) SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), pending - 6);
  }
  if (m_edit && ::GetFocus() != m_edit->GetSafeHwnd()) m_edit->SendMessage(EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

UINT FlatComboBox::OnGetDlgCode() {
  UINT code = static_cast<UINT>(Default());
  if (::GetKeyState(VK_RETURN) & 0x8000) code |= DLGC_WANTALLKEYS;
  return code;
}

void FlatComboBox::OnSetFocus(CWnd*) {
  Default();
  Invalidate(FALSE);
}

void FlatComboBox::OnKillFocus(CWnd*) {
  Default();
  Invalidate(FALSE);
}

void FlatComboBox::OnMouseMove(UINT, CPoint) {
  m_tracker.Enter();
  Default();
}

void FlatComboBox::OnMouseLeave() {
  m_tracker.Leave();
  Default();
}

void FlatComboBox::OnPaint() {
  Default();
  HDC dc = ::GetDC(m_hWnd);
  DrawFlatFrame(dc);
  ::ReleaseDC(m_hWnd, dc);
}

void FlatComboBox::DrawFlatFrame(HDC dc) {
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  const bool hot = IsHot();
  const bool dropped = SendMessage(CB_GETDROPPEDSTATE) != 0;
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  // On a bar the cold box has no frame of its own and its button lies on the bar's face.
  CWnd* bar = hot ? nullptr : GetControlBar();
  const COLORREF barFace = bar != nullptr ? BarFace(bar) : face;
  const COLORREF frame = hot ? highlight : bar != nullptr ? barFace : ::GetSysColor(COLOR_BTNSHADOW);
  const COLORREF hotFill = AdjustHls(highlight, 70, -57);
  const COLORREF pressedFill = AdjustHls(highlight, 50, -50);
  const COLORREF coldFill = bar != nullptr ? barFace : AdjustHls(face, 20, 0);

  // The system's 3D edge becomes the window colour, with a 1-pixel frame around it.
  HBRUSH hollow = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  HPEN inner = ::CreatePen(PS_SOLID, 1, window);
  HGDIOBJ oldPen = ::SelectObject(dc, inner);
  HGDIOBJ oldBrush = ::SelectObject(dc, hollow);
  ::Rectangle(dc, client.left + 1, client.top + 1, client.right - 1, client.bottom - 1);
  ::Rectangle(dc, client.left + 2, client.top + 2, client.right - 2, client.bottom - 2);
  HPEN outer = ::CreatePen(PS_SOLID, 1, frame);
  ::SelectObject(dc, outer);
  ::Rectangle(dc, client.left, client.top, client.right, client.bottom);

  // The drop button: flat, filled with a shade of the highlight while hot, of the face otherwise.
  const int buttonWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  RECT button{client.right - buttonWidth - 1, client.top + 1, client.right - 1, client.bottom - 1};
  HBRUSH fill = ::CreateSolidBrush(dropped ? pressedFill : (hot ? hotFill : coldFill));
  ::FillRect(dc, &button, fill);
  ::DeleteObject(fill);
  HPEN edge = ::CreatePen(PS_SOLID, 1, hot ? frame : window);
  ::SelectObject(dc, edge);
  ::MoveToEx(dc, button.left, button.top, nullptr);
  ::LineTo(dc, button.left, button.bottom);
  // The arrow: a small triangle pointing down.
  HPEN arrow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
  ::SelectObject(dc, arrow);
  const int cx = (button.left + button.right) / 2 + 1, cy = (button.top + button.bottom) / 2 - 1;
  for (int row = 0; row < 3; ++row) {
    ::MoveToEx(dc, cx - 3 + row, cy + row, nullptr);
    ::LineTo(dc, cx + 4 - row, cy + row);
  }
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
  ::DeleteObject(inner);
  ::DeleteObject(outer);
  ::DeleteObject(edge);
  ::DeleteObject(arrow);
}

}  // namespace ui
