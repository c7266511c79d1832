// FileSystemTreeCtrl: page 3's tree of the file systems an Extensive Scan rebuilt. The scan's analysis
// fills it from its worker thread through host::FileSystemTreeHost: each insert is one message to the
// tree's own thread, and the item handle is the key the engine keeps as the record's id.
#pragma once

#include <functional>

#include "app/pages/tree_look.h"
#include "engine/host/file_system_tree_host.h"
#include "platform/classlib/win/classlib_win.h"

class FileSystemTreeCtrl : public CTreeCtrl, public host::FileSystemTreeHost {
  DECLARE_DYNAMIC(FileSystemTreeCtrl)

 public:
  FileSystemTreeCtrl() = default;
  ~FileSystemTreeCtrl() override;

  // The image list of the seven tree icons, the state images and the three cursors.
  void LoadImages();

  // Inserts text last under parent with the images given (image -1: by the drive type the label names);
  // dataFlag goes into the item's data.
  HTREEITEM AddItem(LPCTSTR text, HTREEITEM parent, int image, int selectedImage, HTREEITEM insertAfter,
                    DWORD_PTR dataFlag);
  HTREEITEM AddFileSystem(LPCTSTR label, HTREEITEM parent);

  // host::FileSystemTreeHost, for the analysis on its worker thread.
  host::TreeKey AddItem(const std::u16string& text, host::TreeKey parent) override;
  host::TreeKey AddFileSystem(const std::u16string& label, host::TreeKey parent) override;
  void Expand(host::TreeKey node) override;

  // The position of an item among the visible items as the frame counts it: the first item below the
  // top one is 0, the top item -1, no item -2.
  int VisiblePosition(HTREEITEM item) const;

  // Called when the user selects an item (a click on its label, icon or right of it, or a key released
  // on it) whose text is not empty.
  std::function<void(HTREEITEM item)> onChoose;

  static HTREEITEM ItemOfKey(host::TreeKey key) { return reinterpret_cast<HTREEITEM>(static_cast<UINT_PTR>(key)); }
  static host::TreeKey KeyOfItem(HTREEITEM item) {
    return static_cast<host::TreeKey>(reinterpret_cast<UINT_PTR>(item));
  }

 protected:
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnKeyUp(UINT key, UINT repeat, UINT flags);
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  void Choose(HTREEITEM item);
  TreeLook m_look;
};
