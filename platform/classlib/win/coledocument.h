// COleDocument: a document that holds embedded OLE objects, each through a COleClientItem. A view says
// which items it has selected (CView::IsSelected); the document's verb commands (ID_OLE_VERB_FIRST to
// ID_OLE_VERB_LAST) run verb (id - ID_OLE_VERB_FIRST) on the item the routing frame's active view has
// selected. AfxOleSetEditMenu puts an item's verbs into a menu.
// This is only what a container's menus need: no storage, no in-place site, no linking.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "platform/classlib/clist.h"
#include "platform/classlib/win/cdocument.h"

class CMenu;
class COleDocument;
class CView;

constexpr UINT ID_OLE_VERB_FIRST = 0xE210;  // 57872
constexpr UINT ID_OLE_VERB_LAST = 0xE21F;   // 57887

class COleClientItem : public CCmdTarget {
  DECLARE_DYNAMIC(COleClientItem)

 public:
  // GetItemState: in-place active items (activeState and above) show their own menus and tools.
  enum ItemState { emptyState = 0, loadedState = 1, openState = 2, activeState = 3, activeUIState = 4 };

  // Joins the document when one is given (the document then owns it and deletes it with its contents).
  explicit COleClientItem(COleDocument* pContainerDoc = nullptr);
  // Leaves its document and releases its object.
  ~COleClientItem() override;
  COleClientItem(const COleClientItem&) = delete;
  COleClientItem& operator=(const COleClientItem&) = delete;

  // The item takes a reference of the object and lets go of the one it held: loaded with an object,
  // empty without.
  void SetOleObject(IOleObject* pObject);
  UINT GetItemState() const { return m_nItemState; }
  COleDocument* GetDocument() const { return m_pDocument; }
  // Runs the verb on the object, in the view's window (its client area as the object's place); FALSE
  // without an object or when the object refuses.
  virtual BOOL DoVerb(LONG nVerb, CView* pView, LPMSG lpMsg = nullptr);

  IOleObject* m_lpObject = nullptr;

 protected:
  UINT m_nItemState = emptyState;

 private:
  COleDocument* m_pDocument = nullptr;
  friend class COleDocument;
};

class COleDocument : public CDocument {
  DECLARE_DYNAMIC(COleDocument)

 public:
  COleDocument() = default;
  // Deletes the items it still holds.
  ~COleDocument() override;

  // The document owns the item from here (an item of another document leaves that one).
  void AddItem(COleClientItem* pItem);
  void RemoveItem(COleClientItem* pItem);
  POSITION GetStartPosition() const { return m_items.GetHeadPosition(); }
  COleClientItem* GetNextClientItem(POSITION& pos) const;
  // The one item the view has selected; null when it has none selected, or more than one.
  virtual COleClientItem* GetPrimarySelectedItem(CView* pView);
  // Deletes the items.
  void DeleteContents() override;

 protected:
  // A verb command: the routing frame's active view's selected item runs it; not handled without one.
  afx_msg BOOL OnExecuteVerb(UINT nID);
  DECLARE_MESSAGE_MAP()

 private:
  CPtrList m_items;
};

// Puts the item's verbs at position iMenuItem of the menu, in place of the entry there. The verbs the
// object lists for a container's menu with numbers from 0 to nIDVerbMax - nIDVerbMin come with the
// command id nIDVerbMin + the verb's number. One verb: a single entry "<verb> <type> &Object" (the verb's
// own access key left out); several: a popup "<type> &Object" holding the verbs as the object names
// them. With no item, no object or no verb: a greyed entry "<type> &Object" ("&Object" without an
// item) under nIDVerbMin. <type> is the object's short type name, with "&" doubled.
void AfxOleSetEditMenu(COleClientItem* pClient, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin,
                       UINT nIDVerbMax = ID_OLE_VERB_LAST);
