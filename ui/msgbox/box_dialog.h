// The HTML message box's dialog: built from a template in memory, with its buttons, checkbox, countdown
// and three drawers (header, message, details) over a cached background. Internal to the message box;
// HtmlMessageBox makes one for each box it shows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/win/cdialog.h"
#include "ui/draw/draw_manager.h"
#include "ui/html/html_drawer.h"
#include "ui/msgbox/box_layout.h"
#include "ui/msgbox/box_texts.h"
#include "ui/msgbox/button_row.h"
#include "ui/msgbox/countdown.h"
#include "ui/msgbox/message_box_params.h"

namespace msgbox {

// String resources of a module, at most the asked length.
class ModuleStrings : public StringSource {
 public:
  explicit ModuleStrings(HMODULE module) : module_(module) {}
  std::optional<std::u16string> Load(uint32_t id, size_t maxLength) override;

 private:
  HMODULE module_;
};

class BoxDialog : public CDialog {
 public:
  // params: owner, caption and texts resolved by the caller; the icon is owned by the dialog when
  // ownIcon is set.
  BoxDialog(const MessageBoxParams& params, HICON icon, bool ownIcon);
  ~BoxDialog() override;

  // Shows the box modally and answers its result (2 when the template cannot be made).
  int Run();

  // The message's drawer and its area (client coordinates), as the box last drew them.
  const html::HtmlDrawer& MessageDrawer() const { return message_.drawer; }
  RECT MessageArea() const { return message_.rect; }

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnDrawerRepaint(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  struct Area {
    html::HtmlDrawer drawer;
    RECT rect{};  // client coordinates; empty when the area is not shown
  };

  void CreateControlsAndMeasure();
  void MeasureTexts(LayoutInput& input);
  void CreateButtons(LayoutInput& input);
  void PlaceControls();
  void UpdateAreaRects();
  void GreyCloseItem();
  bool CountdownInCaption() const;
  void ShowCounter();
  void RestoreAfterDisabledTime();
  void ToggleDetails();
  void Finish(int result);
  HWND ButtonWindow(int number) const;
  int DefaultNumber() const;
  std::u16string Text(int number) const;
  Extent MeasureText(const std::u16string& text) const;  // in the message font
  int MeasureWidth(const std::u16string& text) const;

  // Painting (box_paint.cpp).
  void BuildBackground(HDC dc);
  void FillAreaStyle(HDC dc, const MessageBoxAreaStyle& style, const RECT& rect);
  void DrawSeparator(HDC dc, const MessageBoxAreaStyle& style, const std::u16string& caption, int left, int right,
                     int y);
  void PaintInto(HDC dc, const RECT& clip);

  MessageBoxParams params_;
  mutable ModuleStrings strings_;  // loading a text changes nothing of the box
  HICON icon_;
  bool ownIcon_;
  HFONT font_ = nullptr;
  ButtonRow row_;
  std::vector<HWND> buttons_;
  HWND checkbox_ = nullptr;
  HWND label_ = nullptr;
  Countdown countdown_;
  bool expanded_ = false;
  BoxLayout layout_;
  int clientWidth_ = 0;
  int closedClientHeight_ = 0;
  std::u16string caption_;
  std::u16string countdownFormat_;
  std::u16string headerText_;
  std::u16string messageText_;
  std::u16string detailsText_;
  std::u16string headerCaption_, buttonCaption_, detailsCaption_;
  std::u16string moreText_, lessText_;
  std::u16string defaultCaption_;
  Area header_, message_, details_;
  draw::DrawManager draw_;
  HBITMAP background_ = nullptr;
  std::vector<BYTE> template_;
};

}  // namespace msgbox
