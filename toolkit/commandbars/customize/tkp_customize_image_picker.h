// The customize menu's "Change Button Image": a sub-menu filled, when it first opens, with one picker per
// predefined image in a square grid of 23-pixel cells; a chosen picker tells the menu's owner, which gives
// the selected control that image.
#pragma once

#include "toolkit/commandbars/controls/tkp_control_popup.h"

class CTKPImageManager;

// One predefined image (its number, 1 to N, is the control's parameter).
class CTKPControlImagePicker : public CTKPControlButton {
  DECLARE_DYNCREATE(CTKPControlImagePicker)

 public:
  CTKPControlImagePicker() = default;
  ~CTKPControlImagePicker() override;

  // The images the picker shows from (a reference held; image n is command n of the manager).
  void SetImages(CTKPImageManager* pImages);
  int GetImageNumber() const;

  CSize GetSize(CDC* pDC) override;
  CTKPImageManagerIcon* GetImage(int nWidth = 16) const override;
  // The menu closes; the owner hears the control notification (0x2862, code 100, this picker) and gets
  // WM_COMMAND when it does not answer.
  void OnExecute() override;

 private:
  CTKPImageManager* m_pImages = nullptr;
};

// The "Change Button Image" item: its popup toolbar is filled with pickers when it opens empty.
class CTKPControlChangeImagePopup : public CTKPControlPopup {
  DECLARE_DYNCREATE(CTKPControlChangeImagePopup)

 public:
  ~CTKPControlChangeImagePopup() override;
  // The images (a reference held) and their count; image n is command n of the manager.
  void SetImages(CTKPImageManager* pImages, int nCount);
  BOOL OnSetPopup(BOOL bPopup) override;

 private:
  CTKPImageManager* m_pImages = nullptr;
  int m_nCount = 0;
};

// The grid's cell: a picker is this wide and high.
constexpr int TKP_PICKER_CELL = 23;
