// A report list that colours its cells: a background per column and the text by the status in column 1.
#pragma once

#include "platform/classlib/win/clistctrl.h"
#include "platform/classlib/win/msgmap.h"

namespace ui {

class StatusListCtrl : public CListCtrl {
 public:
  StatusListCtrl() = default;

 protected:
  void OnCustomDraw(NMHDR* header, LRESULT* result);
  int OnCreate(LPCREATESTRUCT create);
  DECLARE_MESSAGE_MAP()
};

}  // namespace ui
