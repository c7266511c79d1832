// CSpinButtonCtrl: an up-down control, usually with a buddy edit that shows its position.
#pragma once

#include "platform/classlib/win/cwnd.h"

class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)

 public:
  CSpinButtonCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetRange(short nLower, short nUpper);
  void SetRange32(int nLower, int nUpper);
  DWORD GetRange() const;
  void GetRange(int& lower, int& upper) const;
  void GetRange32(int& lower, int& upper) const { GetRange(lower, upper); }
  // The previous position.
  int SetPos(int nPos);
  int SetPos32(int nPos) { return SetPos(nPos); }
  // The position; with pbError, whether the buddy's text was not a valid position.
  int GetPos() const;
  int GetPos32(LPBOOL pbError = nullptr) const;
  CWnd* SetBuddy(CWnd* pWndBuddy);
  CWnd* GetBuddy() const;
  int SetBase(int nBase);
  UINT GetBase() const;
  BOOL SetAccel(int nAccel, UDACCEL* pAccel);
  UINT GetAccel(int nAccel, UDACCEL* pAccel) const;
};
