#include "toolkit/commandbars/tkp_frame_wnd.h"

#include "toolkit/commandbars/tkp_command_bars.h"

IMPLEMENT_DYNAMIC(CTKPFrameWnd, CFrameWnd)

CTKPFrameWnd::~CTKPFrameWnd() {
  delete m_pCommandBars;
  m_pCommandBars = nullptr;
}
