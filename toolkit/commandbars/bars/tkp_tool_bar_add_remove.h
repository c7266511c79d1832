// The "Add or Remove Buttons" list of a toolbar's expand menu: one checkable entry per button the user may
// show or hide (checked while it shows), and "Reset" for a built-in bar.
#pragma once

#include "toolkit/commandbars/controls/tkp_control_button.h"

class CTKPToolBar;

// An entry of the list: it keeps the bar's control and shows or hides it.
class CTKPControlAddRemoveButton : public CTKPControlButton {
  DECLARE_DYNCREATE(CTKPControlAddRemoveButton)

 public:
  ~CTKPControlAddRemoveButton() override;
  // The control the entry shows or hides (a reference held).
  void SetTarget(CTKPControl* pControl);
  CTKPControl* GetTarget() const { return m_pTarget; }
  // Toggles the control's hidden-by-the-user flag and lays its bar out again; the menu stays open.
  void OnExecute() override;

 private:
  CTKPControl* m_pTarget = nullptr;
};

// The list's last entry: the bar's controls back as its resource made them.
class CTKPControlResetToolBar : public CTKPControlButton {
  DECLARE_DYNCREATE(CTKPControlResetToolBar)

 public:
  ~CTKPControlResetToolBar() override;
  void SetToolBar(CTKPToolBar* pBar);  // a reference held
  void OnExecute() override;

 private:
  CTKPToolBar* m_pToolBar = nullptr;
};
