// CTKCaption: a themed caption bar (text, icon, frame) with an embedded button. With the close-button
// style the button is a small image button whose click goes to the owner as a command; otherwise the
// button carries the caption text and shows a hidden child window in a CTKCaptionPopupWnd until the
// push pin puts it back or the popup loses the focus.
#pragma once

#include "platform/classlib/win/cimagelist.h"
#include "platform/classlib/win/cstatic.h"
#include "toolkit/controls/tk_button.h"
#include "toolkit/controls/tk_caption_theme.h"

class CTKCaption;
class CTKCaptionPopupWnd;

// True for a window object whose window exists.
inline bool TKIsWindowObject(const CWnd* pWnd) { return pWnd != nullptr && ::IsWindow(pWnd->m_hWnd); }

// Caption styles (the low three bits of Create's style argument).
enum : DWORD {
  kTKCaptionRaised = 0x1,       // a raised double frame
  kTKCaptionSunken = 0x2,       // a sunken frame
  kTKCaptionCloseButton = 0x4,  // the button is a close button
};

// Sent by the popup: the child goes back into its parent (push pin), and the popup closes (focus lost).
constexpr UINT kTKCaptionChildBack = 0x273E;
constexpr UINT kTKCaptionPopupClosed = 0x273F;

// One owned icon: a new one destroys the previous, and the holder's end destroys the last.
class TKIconHolder {
 public:
  TKIconHolder() = default;
  explicit TKIconHolder(HICON hIcon) : m_hIcon(hIcon) {}
  ~TKIconHolder() { SetIcon(nullptr); }
  TKIconHolder(const TKIconHolder&) = delete;
  TKIconHolder& operator=(const TKIconHolder&) = delete;
  void SetIcon(HICON hIcon) {
    if (m_hIcon != nullptr && m_hIcon != hIcon) ::DestroyIcon(m_hIcon);
    m_hIcon = hIcon;
  }
  operator HICON() const { return m_hIcon; }

 private:
  HICON m_hIcon = nullptr;
};

class CTKCaptionButton : public CTKButton {
  DECLARE_DYNAMIC(CTKCaptionButton)

 public:
  CTKCaptionButton() : CTKButton(RUNTIME_CLASS(CTKCaptionButtonThemeFactory)) {}
  // Stores nothing: takes the owning caption's face, text colour and font. Returns the current style.
  DWORD SetTKStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
  CTKCaption* m_pCaption = nullptr;
};

class CTKCaption : public CStatic {
  DECLARE_DYNAMIC(CTKCaption)

 public:
  CTKCaption();
  ~CTKCaption() override;

  virtual void SetCaptionColors(COLORREF crBorder, COLORREF crBack, COLORREF crText);
  // Each non-zero argument replaces what the caption has.
  virtual void ModifyCaptionStyle(int nBorderSize, CFont* pFont = nullptr, LPCTSTR lpszText = nullptr,
                                  HICON hIcon = nullptr);
  // The window the caption's button shows in a popup; pNotifyWnd hears of the popup's end.
  virtual void SetChildWindow(CWnd* pChild, CWnd* pNotifyWnd);
  virtual void KillChildWindow();
  virtual BOOL ShowPopupWindow();
  virtual void UpdateCaption(LPCTSTR lpszText, HICON hIcon);
  // dwCaptionStyle: kTKCaption... in the low three bits, extended window styles above them.
  virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszText, DWORD dwCaptionStyle = 0,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                      const CRect& rect = CRect(0, 0, 0, 0), UINT nID = 0xFFFF);
  virtual CRect GetTextRect();
  virtual void DrawCaptionBack(CDC* pDC, CRect& rcItem);
  virtual void DrawCaptionText(CDC* pDC);
  virtual void DrawCaptionIcon(CDC* pDC, CRect& rcItem);
  virtual void UpdateCaptionText(CDC* pDC);
  virtual CRect GetButtonRect();

  CTKCaptionTheme* GetTheme() const { return static_cast<CTKCaptionTheme*>(m_themeHost.GetSafeTheme()); }
  CTKThemeManagerStyleHost& ThemeHost() { return m_themeHost; }
  CTKCaptionButton& Button() { return m_button; }
  CTKCaptionPopupWnd* Popup() const { return m_pPopup; }
  const CString& GetCaptionText() const { return m_strText; }
  DWORD GetCaptionStyle() const { return m_dwCaptionStyle; }
  HICON GetCaptionIcon() const { return m_hIcon; }
  CSize GetIconSize() const { return CSize(m_cxIcon, m_cyIcon); }

  CTKThemeManagerStyleHost m_themeHost;
  int m_nBorderSize = 0;
  COLORREF m_crBorder;
  COLORREF m_crBack;
  COLORREF m_crText;
  int m_nChildOffset = 0;
  BYTE m_bUserColors = FALSE;
  BYTE m_bTextButton = FALSE;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  void OnButtonClicked();
  void OnChildBack();
  void OnPopupClosed();
  // The owner window, else the parent: who hears of the popup and of the close button.
  CWnd* NotifyWindow() const;
  void TellNotifyWindow(UINT message) const;

  CWnd* m_pChild = nullptr;
  CWnd* m_pChildParent = nullptr;
  CWnd* m_pParentParent = nullptr;
  CWnd* m_pNotifyWnd = nullptr;
  int m_cxIcon;
  int m_cyIcon;
  CRect m_rcChild, m_rcParent, m_rcGrandParent;
  DWORD m_dwCaptionStyle = 0;
  HICON m_hIcon = nullptr;
  CString m_strText;
  CImageList m_images;
  CTKCaptionButton m_button;
  CTKCaptionPopupWnd* m_pPopup = nullptr;
};
