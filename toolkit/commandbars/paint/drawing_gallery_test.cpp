// A gallery of the shared drawing in the process's theme: a bar of real controls laid out by the toolbar
// layout (icons with captions, text below icons, a split button, a drop-down, checked and disabled
// buttons), and the small shapes (check marks, drop-down glyphs, expand buttons, the size grip).
// The screenshot commandbars_shared_drawing.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/commandbars/paint/paint_test_support.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/toolbar_layout.h"
#include "toolkit/common/tkp_image_manager.h"

namespace {

using tkptest::TestBar;

// A child window that paints through a callback.
class SampleWnd : public CWnd {
 public:
  std::function<void(CDC*)> paint;

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(client);
    dc.FillSolidRect(client, RGB(255, 255, 255));
    if (paint) paint(&dc);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SampleWnd, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

const UINT kToolbarCommands[] = {ID_OPEN_IMAGE, ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_LOAD_SNAPSHOT,
                                 ID_FIND_FILES, ID_SETTINGS, ID_HELP};

// A bar of the theme with the toolbar's icons at the given size, its controls laid out in one row.
TestBar* MakeBar(CWnd* parent, const CRect& rect, CSize icons, BOOL textBelow) {
  TestBar* bar = new TestBar;
  bar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), _T(""), WS_CHILD | WS_VISIBLE,
                rect, parent, 0);
  bar->SetPositionForTest(tkpBarTop);
  bar->SetPaintManager(CTKPPaintManager::CreateTheme(tkpThemeSoftGradient));
  CTKPImageManager* images = new CTKPImageManager;
  images->SetIconsFromResource(IDR_MAINFRAME, kToolbarCommands, 7, CSize(32, 32));
  bar->SetImageManager(images);  // the bar takes over the reference
  bar->SetIconSize(icons);
  bar->ShowTextBelowIcons(textBelow ? 1 : 0);
  return bar;
}

void Layout(TestBar* bar) {
  CClientDC dc(bar);
  CRect client;
  bar->GetClientRect(client);
  bar->GetControls()->CalcDynamicSize(&dc, client.Width(), kTKPLayoutHorzDock | kTKPLayoutHorizontal | kTKPLayoutCommit,
                                      CRect(2, 2, 2, 2));
  bar->Invalidate();
}

TEST(SharedDrawingGallery, ControlsAndShapesInTheProcesssTheme) {
  CFrameWnd* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, _T("Command bar drawing"), WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 380)));

  TestBar* row = MakeBar(frame, CRect(0, 0, 584, 34), CSize(16, 16), FALSE);
  CTKPControls* controls = row->GetControls();
  CTKPControl* open = controls->Add(tkpControlButton, ID_OPEN_IMAGE);
  open->SetCaption(CString(_T("&Open")));
  open->SetStyle(tkpButtonIconAndCaption);
  controls->Add(tkpControlButton, ID_RECOVER_SELECTED)->SetEnabled(FALSE);
  CTKPControl* find = controls->Add(tkpControlButton, ID_FIND_FILES);
  find->SetBeginGroup(TRUE);
  find->SetChecked(TRUE);
  CTKPControl* split = controls->Add(tkpControlSplitButtonPopup, ID_SETTINGS);
  split->SetBeginGroup(TRUE);
  CTKPControl* popup = controls->Add(tkpControlPopup, 0);
  popup->SetCaption(CString(_T("&View")));
  CTKPControl* text = controls->Add(tkpControlButton, 0);
  text->SetCaption(CString(_T("Save &&Close")));
  text->SetBeginGroup(TRUE);
  Layout(row);
  split->OnSetSelected(1);

  TestBar* below = MakeBar(frame, CRect(0, 40, 584, 110), CSize(32, 32), TRUE);
  for (UINT id : {ID_OPEN_IMAGE, ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_HELP}) {
    CTKPControl* control = below->GetControls()->Add(tkpControlButton, static_cast<int>(id));
    control->SetBeginGroup(id == ID_SAVE_SNAPSHOT);
  }
  below->GetControls()->GetAt(1)->SetEnabled(FALSE);
  Layout(below);
  below->GetControls()->GetAt(0)->OnSetSelected(1);

  // Every control got a place in its row, without overlapping its neighbour.
  for (TestBar* bar : {row, below}) {
    CTKPControls* c = bar->GetControls();
    for (int i = 1; i < c->GetCount(); ++i) {
      EXPECT_GE(c->GetAt(i)->GetRect().left, c->GetAt(i - 1)->GetRect().right) << i;
      EXPECT_FALSE(c->GetAt(i)->GetRect().IsRectEmpty()) << i;
    }
  }
  EXPECT_EQ(split->GetRect().Width(), 23 + 11);  // the button plus its drop-down part

  SampleWnd* samples = new SampleWnd;
  ASSERT_TRUE(samples->Create(nullptr, _T(""), WS_CHILD | WS_VISIBLE, CRect(0, 116, 584, 300), frame, 1));
  CTKPPaintManager* paint = row->GetPaintManager();
  TestBar* expandBar = row;
  samples->paint = [paint, expandBar](CDC* dc) {
    for (int i = 0; i < 3; ++i) {
      CRect box(12 + 30 * i, 12, 32 + 30 * i, 28);
      dc->Draw3dRect(box, RGB(200, 200, 200), RGB(200, 200, 200));
      paint->m_bThickCheckMark = i == 1;
      paint->DrawCheckMark(dc, box, RGB(0, 0, 0), i == 2);
    }
    paint->m_bThickCheckMark = FALSE;
    for (int i = 0; i < 3; ++i) {
      CRect box(120 + 30 * i, 12, 126 + 30 * i + 6 * i, 28);
      dc->Draw3dRect(box, RGB(200, 200, 200), RGB(200, 200, 200));
      paint->DrawDropDownGlyph(dc, box, RGB(0, 0, 0));
    }
    CTKPControls* spare = new CTKPControls;
    CTKPControl* expand = spare->Add(tkpControlButton, 0);
    expand->SetRect(CRect(240, 8, 251, 30));
    expand->OnSetSelected(1);
    paint->DrawSpecialControl(dc, tkpSpecialToolbarExpand, expand, expandBar, TRUE, CSize());
    expand->SetRect(CRect(270, 8, 310, 20));
    paint->DrawSpecialControl(dc, tkpSpecialPopupExpand, expand, expandBar, TRUE, CSize());
    spare->InternalRelease();
    paint->DrawStatusBarGripper(dc, CRect(0, 0, 584, 184));
  };
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame->GetSafeHwnd(), "commandbars_shared_drawing").empty());
  row->InternalRelease();
  below->InternalRelease();
  frame->DestroyWindow();
}

}  // namespace
