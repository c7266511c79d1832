// CTKEdit: the toolkit's edit control (image page's read-only path box). For now the system's edit.
#pragma once

#include "platform/classlib/win/cedit.h"

class CTKEdit : public CEdit {
 public:
  CTKEdit() = default;
};
