// CTKCaptionPopupWnd: the popup in which a caption shows its hidden child, under a caption of its own
// ("Click push pin to keep open") with a push pin. It tells its owning caption by posted messages, so
// that the caption may delete it once the popup's own handler has returned.
#pragma once

#include "platform/classlib/win/cwnd.h"
#include "toolkit/controls/tk_caption.h"

class CTKCaptionPopupWnd : public CWnd {
  DECLARE_DYNAMIC(CTKCaptionPopupWnd)

 public:
  CTKCaptionPopupWnd() = default;
  ~CTKCaptionPopupWnd() override;

  virtual BOOL Create(const CRect& rect, CTKCaption* pOwnerCaption, CWnd* pChild);
  virtual void RecalcLayout();
  virtual void RestoreChild();
  virtual void CheckFocus();

  CTKCaption& Caption() { return m_caption; }
  CTKCaptionButton& PushPin() { return m_pin; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Posts the message to the owning caption once.
  void TellOwner(UINT message);

  CTKCaption* m_pOwnerCaption = nullptr;
  CWnd* m_pChild = nullptr;
  HWND m_hPrevParent = nullptr;
  CTKCaption m_caption;
  CTKCaptionButton m_pin;
  TKIconHolder m_iconOut;
  TKIconHolder m_iconIn;
  bool m_bToldOwner = false;
};
