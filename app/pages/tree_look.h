// The look the program's drive trees share (the source tree of pages 1 and 2, the found file systems of
// page 3): the seven drive and folder icons, the check-box state images, and the three cursors over an
// item's button, over its label and while it is clicked.
#pragma once

#include "platform/classlib/win/classlib_win.h"

class TreeLook {
 public:
  // The icons' places in the image list.
  enum Icon : int { kComputer = 0, kDevices, kFixedDisk, kRemovable, kCdrom, kFolder, kVirtualDisk };

  // Loads the images (once) and the cursors, and gives the tree both image lists.
  void Apply(CTreeCtrl& tree);
  // Shows the cursor of the item part under the mouse: the expand cursor over a button, the hand (pressed
  // while the left button is down) over the parts in itemHits. False when the mouse is elsewhere.
  bool SetCursorOver(const CTreeCtrl& tree, UINT itemHits) const;

 private:
  CImageList m_images;
  CImageList m_stateImages;
  HCURSOR m_expandCursor = nullptr;
  HCURSOR m_handCursor = nullptr;
  HCURSOR m_pressedCursor = nullptr;
};
