// The flat combo box of the scan progress panel: a thin frame and a flat drop button that light up while
// the mouse is over the box (or its edit) or the box has the focus. On a control bar it takes the bar's
// look while cold: its frame and drop button show the colour the bar paints beside it.
#pragma once

#include "platform/classlib/win/clistbox.h"
#include "platform/classlib/win/msgmap.h"

namespace ui {

// Tracks whether the mouse is over an owner window (or one of its parts) and repaints or refreshes the
// owner's frame when that changes.
class HoverTracker {
 public:
  enum Flags : unsigned { kRepaint = 1, kRecalcFrame = 2 };
  HoverTracker(CWnd* owner, unsigned flags) : m_owner(owner), m_flags(flags) {}

  // The mouse entered window (none: the owner); true when hovering began.
  bool Enter(HWND window = nullptr);
  void Leave(HWND window = nullptr);
  bool IsHovering() const { return m_hovering != 0; }

 private:
  void Refresh();
  static void TrackLeave(HWND window, bool cancel);

  CWnd* m_owner;
  HWND m_tracked = nullptr;
  unsigned m_flags;
  BYTE m_hovering = 0;
};

class FlatComboBox : public CComboBox {
 public:
  FlatComboBox();
  ~FlatComboBox() override;
  void SetVisibleItems(int count) { m_visibleItems = count; }
  bool IsHot() const;
  // The control bar the box sits on (a class library bar or one of the toolkit's command bars), or null.
  CWnd* GetControlBar() const;

  void PreSubclassWindow() override;

 protected:
  void OnWindowPosChanging(WINDOWPOS* position);
  void OnWindowPosChanged(WINDOWPOS* position);
  UINT OnGetDlgCode();
  void OnSetFocus(CWnd* old);
  void OnKillFocus(CWnd* next);
  void OnMouseMove(UINT flags, CPoint point);
  void OnMouseLeave();
  void OnPaint();
  int OnCreate(LPCREATESTRUCT create);
  DECLARE_MESSAGE_MAP()

 private:
  class EditHook;
  void HookEdit();
  void DrawFlatFrame(HDC dc);
  // The colour the bar paints just left of the box (right of it at the bar's edge).
  COLORREF BarFace(CWnd* bar) const;

  int m_visibleItems = 8;
  int m_selectionHeight = -1;
  int m_pendingHeight = -1;
  HoverTracker m_tracker;
  EditHook* m_edit = nullptr;
};

}  // namespace ui
