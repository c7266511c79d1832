// Every button theme in each of its states, the flat edit and the flat combo box in one window:
// screenshots/toolkit_buttons_edits.png. The button cells are drawn by the themes into a backing
// bitmap; the edits and combo boxes are live controls.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/controls/tk_button.h"
#include "toolkit/controls/tk_edit.h"
#include "toolkit/controls/tk_flat_combo.h"
#include "toolkit/controls/tk_gallery_test_support.h"

namespace {

constexpr int kCellW = 104, kCellH = 30, kLeft = 150, kTop = 34, kRowH = 40, kColW = 116;

// A button whose hot look can be shown without a mouse.
class SampleButton : public CTKButton {
 public:
  void ShowHot(BOOL bHot) { m_bHot = bHot; }
};

// A combo box drawn as it looks with the focus or dropped down, while the focus is elsewhere.
class PressedCombo : public CTKFlatComboBox {
 public:
  int GetDrawState() const override { return tkflat::kStatePressed; }
};

class Gallery : public CWnd {
 public:
  Gallery() : m_canvas(760, 360) {}
  tkgallery::Canvas m_canvas;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC hDC = ::BeginPaint(m_hWnd, &ps);
      ::BitBlt(hDC, 0, 0, 760, 360, m_canvas.DC(), 0, 0, SRCCOPY);
      ::EndPaint(m_hWnd, &ps);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

void Label(HDC hDC, int x, int y, LPCWSTR text) {
  ::SetBkMode(hDC, TRANSPARENT);
  ::SetTextColor(hDC, RGB(0x14, 0x2A, 0x52));
  HGDIOBJ old = ::SelectObject(hDC, ::GetStockObject(DEFAULT_GUI_FONT));
  ::TextOutW(hDC, x, y, text, static_cast<int>(wcslen(text)));
  ::SelectObject(hDC, old);
}

struct Row {
  LPCWSTR name;
  DWORD style;
  int theme;  // -1: the button's own choice from its style
};

TEST(ControlsGallery, EveryButtonThemeInItsStatesAndTheFlatControls) {
  Gallery gallery;
  CRect frame(0, 0, 760, 360);
  ::AdjustWindowRectEx(frame, WS_OVERLAPPED | WS_CAPTION, FALSE, 0);
  ASSERT_TRUE(gallery.CreateEx(0, nullptr, _T("Buttons and edits"), WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 10, 10,
                               frame.Width(), frame.Height(), nullptr, nullptr));
  HDC canvas = gallery.m_canvas.DC();
  const LPCWSTR states[] = {L"Normal", L"Hot", L"Pressed", L"Focused", L"Disabled"};
  for (int c = 0; c < 5; ++c) Label(canvas, kLeft + c * kColW + 30, 10, states[c]);
  const Row rows[] = {{L"3D (theme 0)", tkbutton::kStyleFocusRect, -1},
                      {L"Flat (theme 0)", tkbutton::kStyleFlat | tkbutton::kStyleFocusRect, -1},
                      {L"Semi-flat, dithered", tkbutton::kStyleSemiFlat | tkbutton::kStyleDitherPressed | tkbutton::kStyleFocusRect, -1},
                      {L"Flat (theme 1)", tkbutton::kStyleFlatTheme | tkbutton::kStyleFocusRect, -1},
                      {L"Gradient (theme 2)", tkbutton::kStyleFocusRect, 2}};
  HICON icon = static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32516), IMAGE_ICON, 16, 16, LR_SHARED));
  const UINT itemStates[] = {0, 0, ODS_SELECTED, ODS_FOCUS, ODS_DISABLED};
  for (int r = 0; r < 5; ++r) {
    const int y = kTop + r * kRowH;
    Label(canvas, 10, y + 8, rows[r].name);
    SampleButton button;
    ASSERT_TRUE(button.Create(_T("&Browse"), WS_CHILD, CRect(0, 0, kCellW, kCellH), &gallery, 100 + r));
    button.SetTKStyle(rows[r].style, FALSE);
    if (rows[r].theme == 2) {
      auto* pTheme = new CTKButtonThemeGradient;
      pTheme->m_nTheme = 2;
      button.ThemeHost().SetTheme(pTheme);
    }
    button.SetIcon(icon);
    button.SetFont(&TKPAuxData().font, FALSE);
    for (int c = 0; c < 5; ++c) {
      tkgallery::Canvas cell(kCellW, kCellH);
      button.ShowHot(c == 1);
      DRAWITEMSTRUCT dis{};
      dis.hDC = cell.DC();
      dis.rcItem = {0, 0, kCellW, kCellH};
      dis.itemState = itemStates[c];
      button.DrawItem(&dis);
      ::BitBlt(canvas, kLeft + c * kColW, y, kCellW, kCellH, cell.DC(), 0, 0, SRCCOPY);
    }
    button.DestroyWindow();
  }

  const int yEdits = kTop + 5 * kRowH + 16;
  Label(canvas, 10, yEdits + 6, L"Flat edit");
  Label(canvas, 10, yEdits + 46, L"Flat combo box");
  std::vector<std::unique_ptr<CTKFlatEdit>> edits;
  const LPCWSTR editTexts[] = {L"D:\\images\\disk.vhdx", L"Under the mouse", L"With the focus", L"Disabled"};
  for (int i = 0; i < 4; ++i) {
    edits.push_back(std::make_unique<CTKFlatEdit>());
    ASSERT_TRUE(edits.back()->CreateEx(WS_EX_CLIENTEDGE, _T("EDIT"), editTexts[i], WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                       CRect(kLeft + i * 150, yEdits, kLeft + i * 150 + 140, yEdits + 24), &gallery,
                                       200 + i));
    EXPECT_TRUE(edits.back()->Initialize(&gallery));
  }
  std::vector<std::unique_ptr<CTKFlatComboBox>> combos;
  const LPCWSTR comboTexts[] = {L"Quick Scan", L"File Trace", L"Extensive Scan", L"Disabled"};
  for (int i = 0; i < 4; ++i) {
    combos.push_back(i == 2 ? std::make_unique<PressedCombo>() : std::make_unique<CTKFlatComboBox>());
    ASSERT_TRUE(combos.back()->Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL,
                                      CRect(kLeft + i * 150, yEdits + 40, kLeft + i * 150 + 140, yEdits + 200), &gallery,
                                      300 + i));
    combos.back()->SetFont(&TKPAuxData().font);
    for (LPCWSTR t : comboTexts) combos.back()->AddString(t);
    combos.back()->SetWindowText(comboTexts[i]);
  }
  edits[3]->EnableWindow(FALSE);
  combos[3]->EnableWindow(FALSE);
  // The second ones under the mouse (their hot look, then the cursor kept there), the third edit focused.
  CRect r;
  edits[1]->GetWindowRect(r);
  ::SetCursorPos(r.CenterPoint().x, r.CenterPoint().y);
  edits[1]->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(edits[1]->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(edits[1]->IsHotShown());
  edits[1]->KillTimer(1000);
  combos[1]->GetWindowRect(r);
  ::SetCursorPos(r.left + 20, r.top + 8);
  combos[1]->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(combos[1]->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(combos[1]->IsHotShown());
  combos[1]->KillTimer(1000);
  edits[2]->SetFocus();
  EXPECT_TRUE(edits[2]->HasFocus());
  gallery.Invalidate();
  gallery.UpdateWindow();
  harness::PumpFor(100);
  EXPECT_FALSE(harness::CaptureWindow(gallery.m_hWnd, "toolkit_buttons_edits").empty());
  gallery.DestroyWindow();
}

}  // namespace
