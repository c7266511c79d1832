// The media previews: ".avi" files in the system's MCI window, and audio and video in the media player
// control. Each plays its file from its creation until the pane closes it.
#pragma once

#include <windows.h>

#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/cwnd.h"
#include "preview/viewers/control_site.h"

struct IWMPPlayer4;

class CAviView : public CView {
  DECLARE_DYNCREATE(CAviView)

 public:
  CAviView() = default;
  HWND m_hMCIWnd = nullptr;

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};

// The media player control in a child window of its own, called through its typed interface. Every call
// that fails throws a COleException; a state the control does not report reads as unknown (0, "").
class CWMPPlayer4 : public CWnd {
  DECLARE_DYNCREATE(CWMPPlayer4)

 public:
  CWMPPlayer4() = default;
  ~CWMPPlayer4() override;
  static const CLSID& GetClsid();
  // The class the control is made of; tests point it at a stand-in.
  static CLSID& ControlClsid();

  // FALSE when the control is not on this machine or will not start in the window.
  using CWnd::Create;
  BOOL Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // Whether the player opens the addresses that script commands inside a media file name.
  void SetInvokeURLs(bool invoke);
  void SetURL(LPCTSTR url);
  long GetOpenState();
  long GetPlayState();
  CString GetStatus();
  void Close();
  // The site the control was given (null without a control).
  InPlaceControlSite* Site() const { return m_inPlace.Site(); }

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  IWMPPlayer4& Player();
  void Release();
  InPlaceControl m_inPlace;
  IWMPPlayer4* m_player = nullptr;
  bool m_comStarted = false;
};

class CMyMedia : public CView {
  DECLARE_DYNCREATE(CMyMedia)

 public:
  CMyMedia() = default;
  static constexpr UINT kPlayerId = 185;
  CWMPPlayer4 m_player;

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
