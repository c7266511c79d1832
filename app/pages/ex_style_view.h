// CEx_StyleView: page 0 of the wizard. The user picks a VHD or VHDX image with Browse and presses one of
// the three mode buttons, which opens the image, lists it on page 1, sets the recovery mode, prepares the
// results list's columns and moves on to page 1. The description of the hovered mode shows below them.
#pragma once

#include "platform/classlib/win/classlib_win.h"
#include "toolkit/controls/tk_button.h"
#include "toolkit/controls/tk_edit.h"
#include "ui/controls/hover_button.h"

class CEx_StyleView : public CView {
  DECLARE_DYNCREATE(CEx_StyleView)

 public:
  CEx_StyleView() = default;

  // The Browse step: asks for the image file. Run at start-up and by the Open command.
  afx_msg void OnBrowse();
  // Asks for the image file as Browse does; the path chosen, or empty (cancelled, or no such file, which
  // was said).
  CString ChooseImage();
  afx_msg void OnQuickScan();
  afx_msg void OnExtensiveScan();
  afx_msg void OnFileTrace();
  // 1 to go on to page 1 with the image opened and listed, 0 to stay.
  int OpenSelectedImage();

  CTKEdit& PathBox() { return m_path; }
  CWnd& ModeButton(UINT id);
  const CString& LastPath() const { return m_lastImagePath; }

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg int OnCreate(LPCREATESTRUCT create);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* window, UINT colourType);
  DECLARE_MESSAGE_MAP()

 private:
  // The three mode buttons' common steps once the stage is set; false when the image was refused.
  bool ChooseMode(uint32_t mode, const char16_t* modeText, bool fileTrace);
  void PaintPage(CDC* dc, const CRect& client);

  ui::CHoverButton m_quick, m_trace, m_extensive;
  CTKButton m_browse;
  CTKEdit m_path;
  CString m_lastImagePath;
  CBrush m_white;
  CFont m_text, m_bold, m_title, m_browseFont;
  HICON m_browseIcon = nullptr;
};
