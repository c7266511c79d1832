// CTKButton: the toolkit's owner-drawn push button. It tracks the mouse for a hot look, shows an optional
// image beside or above its text and leaves every stroke to its theme (tk_button_theme.h); it paints
// through a memory DC.
#pragma once

#include "platform/classlib/win/cbutton.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/controls/tk_button_layout.h"
#include "toolkit/controls/tk_button_theme.h"

class CTKButton : public CButton {
  DECLARE_DYNAMIC(CTKButton)

 public:
  explicit CTKButton(CRuntimeClass* pFactoryClass = RUNTIME_CLASS(CTKButtonThemeFactory));
  ~CTKButton() override;
  CTKButton(const CTKButton&) = delete;
  CTKButton& operator=(const CTKButton&) = delete;

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

  // A 0 x 0 size takes the normal image's own; an empty hot image draws the normal one when hot.
  BOOL SetIcon(CSize size, const CTKPImageManagerIconHandle& hNormal, const CTKPImageManagerIconHandle& hHot,
               BOOL bRedraw = TRUE);
  // FALSE, with the button unchanged, when the normal icon or a requested hot icon does not load.
  BOOL SetIconFromResource(int cx, int cy, UINT nIDNormal, UINT nIDHot = 0, BOOL bRedraw = TRUE);
  // The icons stay the caller's.
  BOOL SetIconFromHICON(CSize size, HICON hNormal, HICON hHot = nullptr, BOOL bRedraw = TRUE);
  // The image shown left of the caption at its own size; the caller keeps owning the icon.
  void SetIcon(HICON hIcon) { SetIconFromHICON(CSize(0, 0), hIcon); }
  // FALSE, keeping the image shown so far, when the bitmap does not load.
  BOOL SetBitmap(CSize size, UINT nIDBitmap, BOOL bRedraw = TRUE);
  BOOL SetTextImagePos(CPoint ptImage, CPoint ptText, BOOL bRedraw = TRUE);
  // The toolkit's style bits (tkbutton::kStyle...); answers the old ones.
  DWORD SetTKStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
  DWORD GetTKStyle() const { return m_dwStyle; }
  BOOL HasTheme() const { return GetTheme() != nullptr; }
  CTKButtonTheme* GetTheme() const { return static_cast<CTKButtonTheme*>(m_themeHost.GetSafeTheme()); }
  CTKThemeManagerStyleHost& ThemeHost() { return m_themeHost; }

  void SetColors(COLORREF face, COLORREF light, COLORREF shadow, COLORREF text);
  void SetColorFace(COLORREF c);
  COLORREF GetColorFace() const;
  void SetColorLight(COLORREF c);
  void SetColorShadow(COLORREF c);
  void SetColorText(COLORREF c);
  void SetFlatColors(COLORREF border, COLORREF hotFace, COLORREF pressedFace);
  void ToggleShowImages();
  CFont* SetButtonFont(CFont* pFont);
  void InitButton();
  void ResetImageCache();
  void GetButtonText(CString& text, BOOL bStripMnemonics = FALSE) const;

  CSize GetImageSize() const;
  CPoint GetImagePosition() const;
  CPoint GetTextPosition() const;
  CTKPImageManagerIcon* GetIcon() const { return m_pIcon; }
  BOOL IsHot() const { return m_bHot; }
  BOOL IsPressed() const { return m_bPressed; }
  BOOL HasCustomPositions() const { return m_bCustomPositions; }
  // The layout of image and text in the item rectangle.
  tkbutton::Layout GetLayout(const CRect& rcItem) const;

  int m_nBorderGap = 4;
  int m_nImageGap = 8;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PreSubclassWindow() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  BOOL m_bHot = FALSE;

 private:
  void OnPaint();
  void OnTimerStep();
  void SetPressed(BOOL bPressed);
  void ReplaceIcon(CTKPImageManagerIcon* pIcon);

  CTKThemeManagerStyleHost m_themeHost;
  BOOL m_bInitOnSubclass = TRUE;
  BOOL m_bCustomPositions = FALSE;
  BOOL m_bPressed = FALSE;
  BOOL m_bHotShown = FALSE;
  DWORD m_dwStyle = tkbutton::kStyleFlat;
  CSize m_szImage{0, 0};
  CPoint m_ptImage{0, 0};
  CPoint m_ptText{0, 0};
  CTKPImageManagerIcon* m_pIcon = nullptr;
};
