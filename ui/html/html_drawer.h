// The HTML drawer: measures and draws a small HTML-like markup (styled runs, breaks, tabs, rules, images,
// string resources, links and nested tables) into a device context. The layout is portable
// (html_document.h); this class supplies the real font metrics and images, paints through the drawing
// effects, tracks the hovered link and follows links through the shell seam. Windows build only.
//
// The drawer treats its text as markup: a caller that inserts a file name, path or other outside text
// escapes it first.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace html {

class HtmlDrawer {
 public:
  HtmlDrawer();
  ~HtmlDrawer();
  HtmlDrawer(const HtmlDrawer&) = delete;
  HtmlDrawer& operator=(const HtmlDrawer&) = delete;

  // Prepares and lays out the text. On entry size->cx is the maximum width (0: lines break only where the
  // markup says); on return *size is the widest line and the total height, each plus 1 (the width capped
  // at the maximum width). An empty text gives 0 by 0. The prepared text is kept for Draw.
  void Measure(HDC dc, const std::u16string& text, SIZE* size);
  // Draws the kept text into the rectangle and rebuilds the hot areas; nothing when the kept text is empty.
  void Draw(HDC dc, const RECT& rect);

  // The drawer sends message(link number or -2, parameter) to the window whenever the hovered link
  // changes; window none clears it.
  void SetHoverTarget(HWND window, UINT message, LPARAM parameter);
  // A click on a message link (msg=...) sends message(target text as const wchar_t*, parameter).
  void SetMessageLinkTarget(HWND window, UINT message, LPARAM parameter);
  // Finds the link under the point (client coordinates of the drawn rectangle); updates the hover and
  // shows the link cursor over a link with a target (true), otherwise false.
  bool SetCursorAt(POINT point);
  // Follows the link under the point: an address is opened by the shell, a message link sends its message.
  void Click(POINT point);
  // The hovered link's number, -2 for none.
  int HoveredLink() const;
  // The text runs the last Draw laid out, each with its rectangle, in the order drawn.
  struct DrawnRun {
    std::u16string text;
    RECT rect;
  };
  std::vector<DrawnRun> DrawnRuns() const;

  // Replaces the link cursor (none reloads the default hand); the drawer destroys the old one.
  void SetLinkCursor(HCURSOR cursor);
  HCURSOR LinkCursor() const;
  // The module of images given by number with iddll (none by default).
  void SetImageModule(HMODULE module);
  void EnableColours(bool enabled);
  void SetDisabledColour(COLORREF colour);
  // On: line feeds become breaks and tabs tab stops; off: both are removed.
  void SetLineBreakConversion(bool on);
  // Shadow of images drawn with the effect letter "s": darkness is taken modulo 256 and capped at 100.
  void SetShadow(int offsetX, int offsetY, int darkness, bool gradient, int blurX, int blurY);
  // Replaces the style sheet; null loads the default sheet, an empty text gives an empty sheet.
  void SetStyleSheet(const char16_t* text);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace html
