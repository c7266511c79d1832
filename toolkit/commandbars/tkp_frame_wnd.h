// CTKPFrameWnd: the toolkit's frame: a frame window that holds command bars.
#pragma once

#include "platform/classlib/win/cframewnd.h"

class CTKPCommandBars;

class CTKPFrameWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CTKPFrameWnd)

 public:
  CTKPFrameWnd() = default;
  // Releases the command bars.
  ~CTKPFrameWnd() override;

  CTKPCommandBars* GetCommandBars() const { return m_pCommandBars; }

 protected:
  CTKPCommandBars* m_pCommandBars = nullptr;  // owned
};
