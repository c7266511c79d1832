// FileTypesTreeCtrl: the file types of the signature database as a tree, "File Types" over its groups
// over their types, with tri-state check boxes (state images of bitmap 200: unchecked, checked, partly
// checked; a checked item is bold). A click on the check box ticks or unticks the item with everything
// below it and corrects everything above; on the label or icon it selects; on the button or indent it
// expands or collapses.
#pragma once

#include <cstdint>
#include <vector>

#include "app/logic/check_tree.h"
#include "engine/scan/signature_database.h"
#include "platform/classlib/win/cimagelist.h"
#include "platform/classlib/win/ctreectrl.h"
#include "platform/classlib/win/msgmap.h"

class FileTypesTreeCtrl : public CTreeCtrl {
 public:
  FileTypesTreeCtrl();
  ~FileTypesTreeCtrl() override;

  // Once the window is there: the image lists and the root "File Types". Answers the root.
  HTREEITEM Initialise();
  // Reads the signature database into the record list and the tree (one item per type in each group).
  // false when the file cannot be read: the tree keeps only its root.
  bool LoadSignatureDatabase(const CString& path);

  void CheckItem(HTREEITEM item);
  void UncheckItem(HTREEITEM item);
  // Unticks a checked or partly checked item, ticks an unchecked one.
  void ToggleItem(HTREEITEM item);
  app::CheckState GetCheckState(HTREEITEM item) const;
  // True when no child of the root is ticked.
  bool NothingTicked();

  // Builds SelectedSignatureList afresh from the ticked types below start; answers the nodes appended.
  uint32_t BuildSelectedSignatureList(HTREEITEM start);

  const std::vector<SignatureRecord>& Records() const { return m_records; }

 protected:
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnLButtonDblClk(UINT nFlags, CPoint point);
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  class Model;
  // The child of parent with exactly this text, or a new last child with that text and icon.
  HTREEITEM EnsureChild(HTREEITEM parent, const CString& text, int icon);
  // A click or double click on a row; false when it was on no item.
  bool ClickAt(CPoint point);

  CImageList m_stateImages;
  std::vector<SignatureRecord> m_records;
};
