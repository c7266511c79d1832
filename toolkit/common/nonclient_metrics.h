// The system's non-client metrics (fonts of menus, captions and the status bar), read on construction.
#pragma once

#include <windows.h>

class CTKPNonClientMetrics : public NONCLIENTMETRICSW {
 public:
  CTKPNonClientMetrics();
  BOOL IsValid() const { return m_bValid; }

 private:
  BOOL m_bValid = FALSE;
};
