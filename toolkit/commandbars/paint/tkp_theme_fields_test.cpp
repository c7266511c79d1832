// Edits and combo boxes drawn by the themes: their size from the label and the field's width, the box,
// frame, button and glyph colours per state in pixels, the customize list's entries, and a gallery of the
// themes with fields on their bars (commandbars_themes_fields.png, commandbars_themes_fields_0_3.png).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/commandbars/paint/paint_test_support.h"
#include "toolkit/commandbars/paint/theme_rules.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/frame/tkp_command_bars_options.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_combo_box.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_theme_default.h"
#include "toolkit/commandbars/paint/tkp_theme_gradient.h"
#include "toolkit/commandbars/paint/tkp_theme_visual_style.h"
#include "toolkit/commandbars/bars/toolbar_layout.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/visual_style_theme.h"

namespace {

using tkptest::Canvas;
using tkptest::Backdrop;
using tkptest::MakeBar;
using tkptest::MakeThemeColumn;
using tkptest::TestBar;

constexpr COLORREF kBackground = RGB(1, 2, 3);

struct Theme {
  explicit Theme(int id) : p(CTKPPaintManager::CreateTheme(id)) { p->RefreshMetrics(); }
  ~Theme() { p->InternalRelease(); }
  Theme(const Theme&) = delete;
  Theme& operator=(const Theme&) = delete;
  CTKPPaintManager* operator->() const { return p; }
  CTKPPaintManager* p;
};

// A bar window whose paint manager is the theme under test.
struct Bar {
  Bar(int type, int position, CTKPPaintManager* paint) : p(new TestBar) {
    p->CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), _T(""), WS_POPUP, CRect(0, 0, 400, 60),
                nullptr, 0);
    p->SetTypeForTest(type);
    p->SetPositionForTest(position);
    paint->InternalAddRef();
    p->SetPaintManager(paint);
  }
  ~Bar() {
    p->DestroyWindow();
    p->InternalRelease();
  }
  Bar(const Bar&) = delete;
  Bar& operator=(const Bar&) = delete;
  template <typename T>
  T* Add(int type, const TCHAR* caption) {
    CTKPControl* control = p->GetControls()->Add(type, 0);
    control->SetCaption(CString(caption));
    return static_cast<T*>(control);
  }
  TestBar* p;
};

int CountColor(const Canvas& canvas, CRect area, COLORREF clr) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += canvas.Pixel(x, y) == clr ? 1 : 0;
  }
  return count;
}

// The label the themes measure: the caption in the bar's font.
int CaptionWidth(CTKPPaintManager* paint, CDC* dc, CTKPCommandBar* bar, const TCHAR* caption) {
  CTKPFontDC font(dc, paint->GetRegularFont(bar));
  return dc->GetTextExtent(CString(caption)).cx;
}

int ExpectedHeight(CTKPPaintManager* paint, CDC* dc, CTKPCommandBar* bar) {
  int blank = 0, label = 0;
  {
    CTKPFontDC font(dc, paint->GetIconTitleFont());
    blank = dc->GetTextExtent(CString(_T(" "))).cy;
  }
  {
    CTKPFontDC font(dc, paint->GetRegularFont(bar));
    label = dc->GetTextExtent(CString(_T("Find"))).cy;
  }
  return std::max(blank + 1, label) + 7;
}

// Lays the control out at (10, 5) and draws it over the background colour.
CRect Place(CTKPPaintManager* paint, Canvas& canvas, CTKPControl* control) {
  const CSize size = paint->DrawControl(&canvas.dc, control, FALSE);
  const CRect rc(10, 5, 10 + size.cx, 5 + size.cy);
  control->SetRect(rc);
  return rc;
}

void Draw(CTKPPaintManager* paint, Canvas& canvas, CTKPControl* control) {
  canvas.dc.FillSolidRect(CRect(0, 0, 400, 60), kBackground);
  paint->DrawControl(&canvas.dc, control, TRUE);
}

// ---- layout ----------------------------------------------------------------------------------------------

TEST(ThemeFields, AFieldIsItsLabelAndItsWidthWideInEveryTheme) {
  for (int id : {0, 1, 2, 3, 4}) {
    Theme theme(id);
    Bar bar(tkpBarTypeNormal, tkpBarTop, theme.p);
    Canvas canvas(400, 60);
    auto* edit = bar.Add<CTKPControlEdit>(tkpControlEdit, _T("Find"));
    const int label = CaptionWidth(theme.p, &canvas.dc, bar.p, _T("Find")) + 5;
    const CSize size = theme->DrawControl(&canvas.dc, edit, FALSE);
    EXPECT_EQ(size.cx, label + 100) << id;
    EXPECT_EQ(size.cy, ExpectedHeight(theme.p, &canvas.dc, bar.p)) << id;
    EXPECT_EQ(edit->GetLabelWidth(), label) << id;
    // Without its label the field is its width alone.
    edit->ShowLabel(FALSE);
    EXPECT_EQ(theme->DrawControl(&canvas.dc, edit, FALSE).cx, 100) << id;
    EXPECT_EQ(edit->GetLabelWidth(), 0) << id;

    // A combo box shows its label only in style 1.
    auto* combo = bar.Add<CTKPControlComboBox>(tkpControlComboBox, _T("Find"));
    EXPECT_EQ(theme->DrawControl(&canvas.dc, combo, FALSE).cx, 100) << id;
    combo->SetComboStyle(1);
    EXPECT_EQ(theme->DrawControl(&canvas.dc, combo, FALSE).cx, label + 100) << id;
    EXPECT_EQ(combo->GetLabelWidth(), label) << id;
  }
}

TEST(ThemeFields, OnAPopupTheLabelStartsAfterTheIconColumn) {
  Theme theme(1);
  Bar popup(tkpBarTypePopup, tkpBarPopup, theme.p);
  Canvas canvas(400, 60);
  auto* edit = popup.Add<CTKPControlEdit>(tkpControlEdit, _T("Find"));
  const int column = std::max<int>(16 + 4, theme->GetRowHeight() + 4) + 1;
  const CSize size = theme->DrawControl(&canvas.dc, edit, FALSE);
  EXPECT_EQ(edit->GetLabelWidth(), column + 12 + CaptionWidth(theme.p, &canvas.dc, popup.p, _T("Find")));
  EXPECT_EQ(size.cx, edit->GetLabelWidth() + 100);
  const CRect rc = Place(theme.p, canvas, edit);
  Draw(theme.p, canvas, edit);
  // Not selected: the box is framed in colour 53 around colour 5; the label is in colour 44 after the column.
  const int boxLeft = rc.left + edit->GetLabelWidth();
  const int mid = (rc.top + rc.bottom) / 2;
  EXPECT_EQ(canvas.Pixel(boxLeft, mid), theme->GetPaintColor(53));
  EXPECT_EQ(canvas.Pixel(boxLeft + 10, mid), theme->GetPaintColor(COLOR_WINDOW));
  EXPECT_EQ(CountColor(canvas, CRect(rc.left, rc.top, rc.left + column + 7, rc.bottom), theme->GetPaintColor(44)), 0);
  EXPECT_GT(CountColor(canvas, CRect(rc.left + column + 7, rc.top, boxLeft, rc.bottom), theme->GetPaintColor(44)), 5);
}

// On a popup bar a combo box that is not hot shows its button framed in colour 5 over colour 53, greyed or not.
TEST(ThemeFields, OnAPopupTheComboButtonKeepsItsFaceWhenDisabled) {
  for (int id : {1, 2, 4}) {
    Theme theme(id);
    ASSERT_NE(theme->GetPaintColor(53), theme->GetPaintColor(COLOR_BTNFACE)) << id;
    Bar popup(tkpBarTypePopup, tkpBarPopup, theme.p);
    Canvas canvas(400, 60);
    auto* combo = popup.Add<CTKPControlComboBox>(tkpControlComboBox, _T("Type"));
    const CRect rc = Place(theme.p, canvas, combo);
    const CRect button(rc.right - combo->GetButtonWidth(), rc.top + 1, rc.right, rc.bottom - 1);
    for (BOOL enabled : {TRUE, FALSE}) {
      combo->SetEnabled(enabled);
      Draw(theme.p, canvas, combo);
      EXPECT_EQ(canvas.Pixel(button.left, button.top + 3), theme->GetPaintColor(COLOR_WINDOW)) << id << enabled;
      EXPECT_EQ(canvas.Pixel(button.left + 2, button.top + 2), theme->GetPaintColor(53)) << id << enabled;
      EXPECT_GT(CountColor(canvas, button, theme->GetPaintColor(enabled ? 46 : 40)), 3) << id << enabled;
    }
  }
}

// ---- the flat and gradient looks --------------------------------------------------------------------------

TEST(ThemeFields, FlatBoxesFrameWhenHotAndGreyWhenDisabled) {
  for (int id : {1, 2, 4}) {
    Theme theme(id);
    Bar bar(tkpBarTypeNormal, tkpBarTop, theme.p);
    Canvas canvas(400, 60);
    auto* edit = bar.Add<CTKPControlEdit>(tkpControlEdit, _T("Find"));
    const CRect rc = Place(theme.p, canvas, edit);
    const int boxLeft = rc.left + edit->GetLabelWidth();
    const int mid = (rc.top + rc.bottom) / 2;
    Draw(theme.p, canvas, edit);
    // On a bar, a box that is not hot has no frame: colour 5 inside, the bar around it.
    EXPECT_EQ(canvas.Pixel(boxLeft + 10, mid), theme->GetPaintColor(COLOR_WINDOW)) << id;
    EXPECT_EQ(canvas.Pixel(boxLeft, mid), kBackground) << id;
    EXPECT_GT(CountColor(canvas, CRect(rc.left, rc.top, boxLeft, rc.bottom), theme->GetPaintColor(46)), 5) << id;
    // Hot: framed in colour 32.
    edit->OnSetSelected(1);
    Draw(theme.p, canvas, edit);
    EXPECT_EQ(canvas.Pixel(boxLeft, mid), theme->GetPaintColor(32)) << id;
    EXPECT_EQ(canvas.Pixel(rc.right - 1, mid), theme->GetPaintColor(32)) << id;
    EXPECT_EQ(canvas.Pixel(boxLeft + 10, mid), theme->GetPaintColor(COLOR_WINDOW)) << id;
    edit->OnSetSelected(0);
    // Disabled: the box one pixel in, framed 40 over colour 15, the label in colour 60.
    edit->SetEnabled(FALSE);
    Draw(theme.p, canvas, edit);
    EXPECT_EQ(canvas.Pixel(boxLeft, mid), kBackground) << id;
    EXPECT_EQ(canvas.Pixel(boxLeft + 1, mid), theme->GetPaintColor(40)) << id;
    EXPECT_EQ(canvas.Pixel(boxLeft + 10, mid), theme->GetPaintColor(COLOR_BTNFACE)) << id;
    EXPECT_GT(CountColor(canvas, CRect(rc.left, rc.top, boxLeft, rc.bottom), theme->GetPaintColor(60)), 5) << id;
  }
}

TEST(ThemeFields, FlatComboButtonsAndGlyphsFollowTheState) {
  for (int id : {1, 2, 4}) {
    Theme theme(id);
    Bar bar(tkpBarTypeNormal, tkpBarTop, theme.p);
    Canvas canvas(400, 60);
    auto* combo = bar.Add<CTKPControlComboBox>(tkpControlComboBox, _T("Type"));
    const CRect rc = Place(theme.p, canvas, combo);
    const CRect button(rc.right - combo->GetButtonWidth(), rc.top + 1, rc.right, rc.bottom - 1);
    Draw(theme.p, canvas, combo);
    // Not hot: no button face, the glyph in colour 46.
    EXPECT_EQ(canvas.Pixel(button.left + 1, button.top + 1), theme->GetPaintColor(COLOR_WINDOW)) << id;
    EXPECT_GT(CountColor(canvas, button, theme->GetPaintColor(46)), 3) << id;
    // Hot: the button framed 32 over 31, the glyph in colour 45.
    combo->OnSetSelected(1);
    Draw(theme.p, canvas, combo);
    EXPECT_EQ(canvas.Pixel(button.left, button.top + 3), theme->GetPaintColor(32)) << id;
    EXPECT_EQ(canvas.Pixel(button.left + 1, button.top + 1), theme->GetPaintColor(31)) << id;
    EXPECT_GT(CountColor(canvas, button, theme->GetPaintColor(45)), 3) << id;
    combo->OnSetSelected(0);
    // Disabled: the glyph in colour 40.
    combo->SetEnabled(FALSE);
    Draw(theme.p, canvas, combo);
    EXPECT_GT(CountColor(canvas, button, theme->GetPaintColor(40)), 3) << id;
  }
}

// ---- the classic look ------------------------------------------------------------------------------------

// Distinct colours for the classic theme's system colours, so that each pixel names its source.
void DistinctClassicColours(CTKPPaintManager* paint) {
  const int indexes[] = {COLOR_WINDOW, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNTEXT, COLOR_BTNHIGHLIGHT};
  const COLORREF colours[] = {RGB(250, 250, 240), RGB(200, 190, 180), RGB(90, 80, 70), RGB(10, 20, 30),
                              RGB(255, 240, 0)};
  paint->SetColors(5, indexes, colours);
}

// The bounding box of the pixels of one colour.
CRect Extent(const Canvas& canvas, CRect area, COLORREF clr) {
  CRect found(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (canvas.Pixel(x, y) != clr) continue;
      found.left = std::min<LONG>(found.left, x);
      found.top = std::min<LONG>(found.top, y);
      found.right = std::max<LONG>(found.right, x + 1);
      found.bottom = std::max<LONG>(found.bottom, y + 1);
    }
  }
  return found;
}

// The classic theme in distinct colours with a canvas to draw its parts on.
struct ClassicParts {
  ClassicParts() : classic(static_cast<CTKPDefaultTheme*>(theme.p)) { DistinctClassicColours(theme.p); }
  COLORREF Colour(int index) const { return theme->GetPaintColor(index); }
  Theme theme{0};
  CTKPDefaultTheme* classic;
  Canvas canvas{400, 60};
};

// The classic box frame: idle, a highlight ring one pixel in (shadow while pressed); hot, sunken with a
// face-coloured ring inside (a face-coloured outer ring when disabled).
TEST(ThemeFields, TheClassicBoxFrameFollowsSelectionAndState) {
  ClassicParts parts;
  Canvas& canvas = parts.canvas;
  const CRect box(10, 10, 110, 32);
  const COLORREF face = parts.Colour(COLOR_BTNFACE), light = parts.Colour(COLOR_BTNHIGHLIGHT),
                 shadow = parts.Colour(COLOR_BTNSHADOW);
  auto draw = [&](BOOL selected, int state) {
    canvas.dc.FillSolidRect(CRect(0, 0, 400, 60), kBackground);
    parts.classic->DrawButtonFrame(&canvas.dc, box, selected, state);
  };
  for (int state : {CTKPDefaultTheme::kFrameDisabled, CTKPDefaultTheme::kFrameEnabled}) {
    draw(FALSE, state);
    EXPECT_EQ(canvas.Pixel(box.left, box.top + 5), kBackground);
    EXPECT_EQ(canvas.Pixel(box.left + 1, box.top + 5), light);
    EXPECT_EQ(canvas.Pixel(box.right - 2, box.bottom - 2), light);
    EXPECT_EQ(canvas.Pixel(box.left + 2, box.top + 5), kBackground);
  }
  draw(FALSE, CTKPDefaultTheme::kFramePressed);
  EXPECT_EQ(canvas.Pixel(box.left + 1, box.top + 5), shadow);
  draw(TRUE, CTKPDefaultTheme::kFrameEnabled);
  EXPECT_EQ(canvas.Pixel(box.left, box.top + 5), shadow);
  EXPECT_EQ(canvas.Pixel(box.right - 1, box.top + 5), light);
  EXPECT_EQ(canvas.Pixel(box.left + 1, box.top + 5), face);
  EXPECT_EQ(canvas.Pixel(box.right - 2, box.bottom - 2), face);
  draw(TRUE, CTKPDefaultTheme::kFrameDisabled);
  EXPECT_EQ(canvas.Pixel(box.left, box.top + 5), face);
  EXPECT_EQ(canvas.Pixel(box.right - 1, box.bottom - 1), face);
  EXPECT_EQ(canvas.Pixel(box.left + 1, box.top + 5), face);
}

// The classic drop-down button: inset (1, 2, 2, 2), framed in the highlight colour, raised when hot, sunken
// with its glyph one pixel lower right while the list is open; the glyph always in the button-text colour.
TEST(ThemeFields, TheClassicDropDownButtonIsInsetAndPressesItsGlyph) {
  ClassicParts parts;
  Canvas& canvas = parts.canvas;
  const CRect button(100, 10, 116, 32);
  const CRect inner(101, 12, 114, 30);
  const COLORREF face = parts.Colour(COLOR_BTNFACE), light = parts.Colour(COLOR_BTNHIGHLIGHT),
                 shadow = parts.Colour(COLOR_BTNSHADOW), glyph = parts.Colour(COLOR_BTNTEXT);
  auto draw = [&](BOOL enabled, BOOL selected, BOOL dropped) {
    canvas.dc.FillSolidRect(CRect(0, 0, 400, 60), kBackground);
    parts.classic->DrawComboDropDown(&canvas.dc, button, enabled, selected, dropped);
    return Extent(canvas, button, glyph);
  };
  const CRect idleGlyph = draw(TRUE, FALSE, FALSE);
  EXPECT_EQ(canvas.Pixel(button.left, button.top + 5), kBackground);
  EXPECT_EQ(canvas.Pixel(inner.left, inner.top), light);
  EXPECT_EQ(canvas.Pixel(inner.right - 1, inner.bottom - 1), light);
  EXPECT_EQ(canvas.Pixel(inner.right, inner.top + 3), kBackground);
  EXPECT_EQ(canvas.Pixel(inner.left, inner.top - 1), kBackground);
  EXPECT_EQ(canvas.Pixel(inner.left + 1, inner.top + 1), face);
  EXPECT_EQ(canvas.Pixel(inner.left - 1, inner.top + 3), kBackground);
  ASSERT_FALSE(idleGlyph.IsRectEmpty());
  draw(TRUE, TRUE, FALSE);
  EXPECT_EQ(canvas.Pixel(inner.left, inner.top), light);
  EXPECT_EQ(canvas.Pixel(inner.right - 1, inner.bottom - 1), shadow);
  EXPECT_EQ(canvas.Pixel(inner.left - 1, inner.top + 3), face);
  const CRect pressedGlyph = draw(TRUE, TRUE, TRUE);
  EXPECT_EQ(canvas.Pixel(inner.left, inner.top), shadow);
  EXPECT_EQ(canvas.Pixel(inner.right - 1, inner.bottom - 1), light);
  EXPECT_EQ(canvas.Pixel(inner.left - 1, inner.top + 3), face);
  EXPECT_EQ(pressedGlyph.TopLeft(), idleGlyph.TopLeft() + CPoint(1, 1));
  EXPECT_EQ(pressedGlyph.Size(), idleGlyph.Size());
  // Disabled: no face, the highlight frame and the same glyph colour.
  EXPECT_EQ(draw(FALSE, FALSE, FALSE), idleGlyph);
  EXPECT_EQ(canvas.Pixel(inner.left + 1, inner.top + 1), kBackground);
  EXPECT_EQ(canvas.Pixel(inner.left, inner.top), light);
}

// A classic field on a bar: the whole box in the window colour (the face colour when disabled), framed by
// the box frame, the button inside it.
TEST(ThemeFields, ClassicFieldsFillTheirBoxAndFrameIt) {
  for (int id : {0, 3}) {
    Theme theme(id);
    // Without visual styles the visual-styles theme frames its fields as the classic one does.
    if (id == 3 && static_cast<CTKPNativeTheme*>(theme.p)->IsToolbarThemed()) continue;
    DistinctClassicColours(theme.p);
    Bar bar(tkpBarTypeNormal, tkpBarTop, theme.p);
    Canvas canvas(400, 60);
    auto* combo = bar.Add<CTKPControlComboBox>(tkpControlComboBox, _T("Type"));
    combo->SetComboStyle(1);
    const CRect rc = Place(theme.p, canvas, combo);
    const int boxLeft = rc.left + combo->GetLabelWidth();
    const int mid = (rc.top + rc.bottom) / 2;
    const COLORREF window = theme->GetPaintColor(COLOR_WINDOW), light = theme->GetPaintColor(COLOR_BTNHIGHLIGHT),
                   shadow = theme->GetPaintColor(COLOR_BTNSHADOW), face = theme->GetPaintColor(COLOR_BTNFACE);
    Draw(theme.p, canvas, combo);
    EXPECT_EQ(canvas.Pixel(boxLeft, mid), window) << id;
    EXPECT_EQ(canvas.Pixel(boxLeft + 1, mid), light) << id;
    EXPECT_EQ(canvas.Pixel(boxLeft + 5, mid), window) << id;
    EXPECT_GT(CountColor(canvas, CRect(rc.right - combo->GetButtonWidth(), rc.top, rc.right, rc.bottom),
                         theme->GetPaintColor(COLOR_BTNTEXT)), 3) << id;
    EXPECT_GT(CountColor(canvas, CRect(rc.left, rc.top, boxLeft, rc.bottom), theme->GetPaintColor(COLOR_BTNTEXT)), 5)
        << id;
    combo->OnSetSelected(1);
    Draw(theme.p, canvas, combo);
    EXPECT_EQ(canvas.Pixel(boxLeft, mid), shadow) << id;
    EXPECT_EQ(canvas.Pixel(rc.right - 1, mid), light) << id;
    EXPECT_EQ(canvas.Pixel(boxLeft + 1, mid), face) << id;
    combo->OnSetSelected(0);
    combo->SetEnabled(FALSE);
    Draw(theme.p, canvas, combo);
    EXPECT_EQ(canvas.Pixel(boxLeft + 5, mid), face) << id;
    EXPECT_EQ(canvas.Pixel(boxLeft, mid), face) << id;
  }
}

TEST(ThemeFields, TheClassicSplitPartOfAnOpenMenuItemIsRaised) {
  Theme theme(0);
  Bar popup(tkpBarTypePopup, tkpBarPopup, theme.p);
  CTKPControl* item = popup.Add<CTKPControl>(tkpControlSplitButtonPopup, _T("&Recent"));
  const CRect rc(3, 3, 197, 25);
  item->SetRect(rc);
  popup.p->SetPopuped(item->GetIndex());
  Canvas canvas(400, 60);
  theme->DrawControl(&canvas.dc, item, TRUE);
  EXPECT_EQ(canvas.Pixel(rc.right - 20, rc.top), theme->GetPaintColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.Pixel(rc.right - 1, rc.bottom - 1), theme->GetPaintColor(COLOR_BTNSHADOW));
}

// ---- the customize list ----------------------------------------------------------------------------------

TEST(ThemeFields, ListEntriesTakeTheOptionsIconSizeAndShowFieldsAndArrows) {
  auto* bars = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  for (int id : {0, 1}) {
    Theme theme(id);
    Bar bar(tkpBarTypeNormal, tkpBarTop, theme.p);
    auto* combo = bar.Add<CTKPControlComboBox>(tkpControlComboBox, _T("Type"));
    CTKPControl* popup = bar.Add<CTKPControl>(tkpControlPopup, _T("Recent"));
    CTKPControl* split = bar.Add<CTKPControl>(tkpControlSplitButtonPopup, _T("Undo"));
    Canvas canvas(400, 60);
    const CRect rc(0, 0, 300, 24);
    bars->GetCommandBarsOptions()->szIcons = CSize(32, 32);
    EXPECT_EQ(theme->DrawListBoxControl(&canvas.dc, combo, rc, FALSE, FALSE, bars).cy,
              std::max<int>(38, theme->GetRowHeight()))
        << id;
    bars->GetCommandBarsOptions()->szIcons = CSize(0, 0);
    EXPECT_EQ(theme->DrawListBoxControl(&canvas.dc, combo, rc, FALSE, FALSE, bars).cy,
              std::max<int>(22, theme->GetRowHeight()))
        << id;

    const int boxBorder = id == 0 ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    const int glyph = id == 0 ? COLOR_BTNTEXT : 46;
    theme->DrawListBoxControl(&canvas.dc, combo, rc, FALSE, TRUE, bars);
    EXPECT_EQ(canvas.Pixel(rc.right - 56, 12), theme->GetPaintColor(boxBorder)) << id;
    EXPECT_EQ(canvas.Pixel(rc.right - 50, 12), theme->GetPaintColor(id == 0 ? COLOR_BTNFACE : COLOR_WINDOW)) << id;
    EXPECT_GT(CountColor(canvas, CRect(rc.right - 16, 2, rc.right - 4, 22), theme->GetPaintColor(glyph)), 3) << id;

    const int text = id == 0 ? COLOR_BTNTEXT : 44;
    theme->DrawListBoxControl(&canvas.dc, popup, rc, FALSE, TRUE, bars);
    EXPECT_EQ(canvas.Pixel(rc.right - 11, 12), theme->GetPaintColor(text)) << id;
    theme->DrawListBoxControl(&canvas.dc, split, rc, FALSE, TRUE, bars);
    EXPECT_EQ(canvas.Pixel(rc.right - 20, 12), theme->GetPaintColor(COLOR_BTNSHADOW)) << id;
    // The classic selected entry is raised, not filled with the highlight colour.
    if (id == 0) {
      theme->DrawListBoxControl(&canvas.dc, popup, rc, TRUE, TRUE, bars);
      EXPECT_EQ(canvas.Pixel(rc.left, rc.top), theme->GetPaintColor(COLOR_BTNHIGHLIGHT));
      EXPECT_EQ(canvas.Pixel(rc.right - 1, rc.bottom - 1), theme->GetPaintColor(COLOR_BTNSHADOW));
      EXPECT_EQ(CountColor(canvas, rc, theme->GetPaintColor(COLOR_HIGHLIGHT)), 0);
    }
  }
  bars->InternalRelease();
}

// A caption taken from a command's prompt keeps the spaces around its "\n" (" Load Snapshot"): its text
// starts in the same column as the same caption without them (it started 2-3 pixels to the right).
TEST(ThemeFields, ListEntriesStartTheirTextInOneColumnWhateverSpacesTheCaptionCarries) {
  auto* bars = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  for (int id : {0, 1}) {
    Theme theme(id);
    Bar bar(tkpBarTypeNormal, tkpBarTop, theme.p);
    const CRect rc(0, 0, 300, 24);
    const COLORREF text = theme->GetPaintColor(id == 0 ? COLOR_BTNTEXT : 44);
    // The first column from the left in which the entry's text shows.
    const auto textStart = [&](LPCTSTR caption) {
      CTKPControl* control = bar.Add<CTKPControl>(tkpControlButton, caption);
      Canvas canvas(400, 60);
      theme->DrawListBoxControl(&canvas.dc, control, rc, FALSE, TRUE, bars);
      for (int x = 0; x < rc.right; ++x) {
        for (int y = rc.top; y < rc.bottom; ++y) {
          if (canvas.Pixel(x, y) == text) return x;
        }
      }
      return -1;
    };
    const int plain = textStart(_T("Load Snapshot"));
    ASSERT_GT(plain, 0) << id;
    EXPECT_EQ(textStart(_T(" Load Snapshot")), plain) << id;
    EXPECT_EQ(textStart(_T(" Load Snapshot ")), plain) << id;
    EXPECT_EQ(textStart(_T("  Help")), textStart(_T("Help"))) << id;
  }
  bars->InternalRelease();
}

// ---- the gradient themes' glyph ---------------------------------------------------------------------------

TEST(ThemeFields, GradientThemesMakeTheirGlyphFromTheGlyphGradient) {
  for (int id : {2, 4}) {
    Theme theme(id);
    auto* gradient = static_cast<CTKPGradientTheme*>(theme.p);
    HIMAGELIST glyphs = gradient->GetGlyphImageList();
    ASSERT_NE(glyphs, nullptr) << id;
    EXPECT_EQ(ImageList_GetImageCount(glyphs), 1) << id;
    int cx = 0, cy = 0;
    ImageList_GetIconSize(glyphs, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    Canvas canvas(16, 16);
    ImageList_Draw(glyphs, 0, canvas.dc.GetSafeHdc(), 0, 0, ILD_TRANSPARENT);
    const auto& map = tkptheme::GlyphIntensities();
    const COLORREF light = gradient->m_grcGlyph.clrLight;
    for (int i = 0; i < 256; ++i) {
      const int v = map[static_cast<size_t>(i)];
      if (v == 0 || v == 255) {
        EXPECT_EQ(canvas.Pixel(i % 16, i / 16), v == 0 ? light : RGB(255, 255, 255)) << id << " " << i;
      }
    }
    // A new refresh makes a new list.
    theme->RefreshMetrics();
    EXPECT_NE(gradient->GetGlyphImageList(), nullptr);
  }
}

TEST(ThemeFields, TheGradientPopupExpandButtonShowsTheGlyph) {
  Theme theme(2);
  Bar popup(tkpBarTypePopup, tkpBarPopup, theme.p);
  CTKPControl* expand = popup.Add<CTKPControl>(tkpControlButton, _T(""));
  expand->SetRect(CRect(3, 3, 197, 21));
  Canvas canvas(200, 30);
  theme->DrawSpecialControl(&canvas.dc, tkpSpecialPopupExpand, expand, popup.p, TRUE, CSize());
  const COLORREF light = static_cast<CTKPGradientTheme*>(theme.p)->m_grcGlyph.clrLight;
  const auto& map = tkptheme::GlyphIntensities();
  const CPoint origin((3 + 197 - 16) / 2, (3 + 21 - 16) / 2);
  int matches = 0;
  for (int i = 0; i < 256; ++i) {
    if (map[static_cast<size_t>(i)] == 0) matches += canvas.Pixel(origin.x + i % 16, origin.y + i / 16) == light;
  }
  EXPECT_GT(matches, 20);
}

// ---- the gallery -----------------------------------------------------------------------------------------

void LayOut(TestBar* bar, CTKPPaintManager* paint, int width) {
  CClientDC dc(bar);
  bar->GetControls()->CalcDynamicSize(&dc, width, kTKPLayoutHorzDock | kTKPLayoutHorizontal | kTKPLayoutCommit,
                                      paint->GetCommandBarBorders(bar));
}

struct Column {
  Backdrop* backdrop = nullptr;
  std::vector<TestBar*> bars;
};

Column MakeColumn(CWnd* frame, int left, CTKPPaintManager* paint, const TCHAR* title) {
  Column c;
  c.backdrop = MakeThemeColumn(frame, CRect(left, 0, left + 300, 250), paint, title);
  // A toolbar with a button, an edit with its label and a combo box.
  TestBar* search = MakeBar(c.backdrop, CRect(4, 28, 296, 60), tkpBarTypeNormal, tkpBarTop, paint, WS_CLIPCHILDREN);
  CTKPControls* controls = search->GetControls();
  controls->Add(tkpControlButton, static_cast<int>(ID_FIND_FILES));
  auto* edit = static_cast<CTKPControlEdit*>(controls->Add(tkpControlEdit, 0));
  edit->SetCaption(CString(_T("Find")));
  edit->SetWidth(110);
  edit->SetEditText(CString(_T("report.doc")));
  auto* type = static_cast<CTKPControlComboBox*>(controls->Add(tkpControlComboBox, 0));
  type->SetWidth(90);
  type->SetBeginGroup(TRUE);
  for (const TCHAR* item : {_T("All files"), _T("Pictures"), _T("Documents")}) type->AddString(CString(item));
  type->SetCurSel(0);
  LayOut(search, paint, 292);
  c.bars.push_back(search);

  // A second toolbar: a hot combo box with a label, an editable combo box and a disabled edit.
  TestBar* filter = MakeBar(c.backdrop, CRect(4, 66, 296, 98), tkpBarTypeNormal, tkpBarTop, paint,
                            WS_CLIPCHILDREN);
  auto* size = static_cast<CTKPControlComboBox*>(filter->GetControls()->Add(tkpControlComboBox, 0));
  size->SetCaption(CString(_T("Size")));
  size->SetComboStyle(1);
  size->SetWidth(80);
  for (const TCHAR* item : {_T("Any"), _T("Small"), _T("Large")}) size->AddString(CString(item));
  size->SetCurSel(1);
  auto* name = static_cast<CTKPControlComboBox*>(filter->GetControls()->Add(tkpControlComboBox, 0));
  name->SetDropDownListStyle(TRUE);
  name->SetWidth(70);
  name->SetEditText(CString(_T("*.jpg")));
  auto* off = static_cast<CTKPControlEdit*>(filter->GetControls()->Add(tkpControlEdit, 0));
  off->ShowLabel(FALSE);
  off->SetWidth(60);
  off->SetEditText(CString(_T("off")));
  off->SetEnabled(FALSE);
  LayOut(filter, paint, 292);
  size->OnSetSelected(1);
  c.bars.push_back(filter);

  // A menu with an edit and a combo box among its items.
  TestBar* menu = MakeBar(c.backdrop, CRect(10, 108, 290, 240), tkpBarTypePopup, tkpBarPopup, paint,
                          WS_CLIPCHILDREN);
  const int height = std::max<int>(22, paint->GetRowHeight());
  int y = 3;
  CTKPControl* open = menu->GetControls()->Add(tkpControlButton, static_cast<int>(ID_OPEN_IMAGE));
  open->SetCaption(CString(_T("&Open Image...")));
  open->SetRect(CRect(3, y, 277, y + height));
  y += height;
  auto* find = static_cast<CTKPControlEdit*>(menu->GetControls()->Add(tkpControlEdit, 0));
  find->SetCaption(CString(_T("Find")));
  find->SetWidth(120);
  auto* kind = static_cast<CTKPControlComboBox*>(menu->GetControls()->Add(tkpControlComboBox, 0));
  kind->SetCaption(CString(_T("Kind")));
  kind->SetWidth(120);
  kind->AddString(CString(_T("Deleted")));
  kind->SetCurSel(0);
  auto* greyed = static_cast<CTKPControlComboBox*>(menu->GetControls()->Add(tkpControlComboBox, 0));
  greyed->SetCaption(CString(_T("Age")));
  greyed->SetWidth(120);
  greyed->AddString(CString(_T("Any")));
  greyed->SetCurSel(0);
  greyed->SetEnabled(FALSE);
  {
    CClientDC dc(menu);
    for (CTKPControl* field : {static_cast<CTKPControl*>(find), static_cast<CTKPControl*>(kind),
                               static_cast<CTKPControl*>(greyed)}) {
      const CSize sz = field->GetSize(&dc);
      field->SetRect(CRect(3, y, 277, y + sz.cy));
      y += sz.cy;
    }
  }
  kind->OnSetSelected(1);
  CTKPControl* exit = menu->GetControls()->Add(tkpControlButton, 0);
  exit->SetCaption(CString(_T("E&xit")));
  exit->SetBeginGroup(TRUE);
  y += paint->DrawCommandBarSeparator(nullptr, menu, exit, FALSE).cy + 5;
  exit->SetRect(CRect(3, y, 277, y + height));
  y += height;
  menu->MoveWindow(CRect(10, 108, 290, 108 + y + 3));
  c.bars.push_back(menu);
  return c;
}

struct GalleryTheme {
  int id;
  const TCHAR* title;
  int scheme;
};

// Shows the columns, probes the first edit of each beside its window and saves the picture.
void ShowGallery(std::initializer_list<GalleryTheme> themes, const char* shot) {
  CFrameWnd* frame = new CFrameWnd;
  const int width = static_cast<int>(themes.size()) * 306 + 10;
  ASSERT_TRUE(frame->Create(nullptr, _T("Command bar themes: fields"), WS_OVERLAPPEDWINDOW,
                            CRect(10, 10, 10 + width, 320)));
  std::vector<Column> columns;
  std::vector<CTKPPaintManager*> paints;
  int left = 2;
  for (const auto& t : themes) {
    CTKPPaintManager* paint = CTKPPaintManager::CreateTheme(t.id);
    if (t.scheme >= 0) paint->SetColorSchemeMode(t.scheme);
    paint->RefreshMetrics();
    paints.push_back(paint);
    columns.push_back(MakeColumn(frame, left, paint, t.title));
    left += 306;
  }
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  harness::PumpFor(300);
  for (size_t i = 0; i < columns.size(); ++i) {
    // The first edit's box shows the window colour beside its text; its label was measured.
    TestBar* search = columns[i].bars[0];
    auto* edit = static_cast<CTKPControlEdit*>(search->GetControls()->GetAt(1));
    EXPECT_GT(edit->GetLabelWidth(), 0) << i;
    CRect window;
    ::GetWindowRect(edit->GetEditCtrl()->GetSafeHwnd(), window);
    EXPECT_GT(window.Width(), 60) << i;
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(::GetPixel(screen, window.left - 2, window.top), paints[i]->GetPaintColor(COLOR_WINDOW)) << i;
    ::ReleaseDC(nullptr, screen);
  }
  EXPECT_FALSE(harness::CaptureWindow(frame->GetSafeHwnd(), shot).empty());
  for (Column& c : columns) {
    for (TestBar* bar : c.bars) bar->InternalRelease();
  }
  frame->DestroyWindow();
  for (CTKPPaintManager* paint : paints) paint->InternalRelease();
}

TEST(ThemeFieldGallery, FlatAndGradientThemesWithFields) {
  ShowGallery({{1, _T("Flat (1)"), -1}, {2, _T("Gradient (2)"), -1}, {4, _T("Soft gradient (4)"), -1},
               {2, _T("Gradient (2), blue scheme"), 1}},
              "commandbars_themes_fields");
}

TEST(ThemeFieldGallery, ClassicAndVisualStylesThemesWithFields) {
  ShowGallery({{0, _T("Classic (0)"), -1}, {3, _T("Visual styles (3)"), -1}}, "commandbars_themes_fields_0_3");
}

}  // namespace
