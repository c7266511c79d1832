// The preview's table views: a dBASE table (CDBF_View) as a report list, and an Access database
// (CMDB_View): the tree of its tables, relations and queries (CDaoTreeView) beside the records of the
// chosen table (CMDBListView). The document opens the database and hands it to both views.
#pragma once

#include <cstdint>

#include <windows.h>
#include <oaidl.h>
#include <objidl.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cimagelist.h"
#include "platform/classlib/win/clistctrl.h"
#include "platform/classlib/win/ctreectrl.h"
#include "platform/classlib/win/cview.h"
#include "preview/viewers/database_settings.h"

class CDaoDatabase;
class SplitterCtrl;


// Display text of a database value, and of a flag.
CString VariantToText(const VARIANT& value);
CString BoolToText(BOOL flag);

// A view that is one report list (control id 186, grid lines, full-row select) filling its client area.
class TableListView : public CView {
  DECLARE_DYNAMIC(TableListView)

 public:
  static constexpr UINT kListId = 186;
  ~TableListView() override;
  CListCtrl* GetListCtrl() const { return m_pList; }

 protected:
  TableListView() = default;
  void OnDraw(CDC*) override {}
  // Creates the list (a new object, owned from here); false when it cannot be.
  bool CreateList(CListCtrl* list);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  CListCtrl* m_pList = nullptr;
};

class CDBF_View : public TableListView {
  DECLARE_DYNCREATE(CDBF_View)

 public:
  CDBF_View() = default;
  // Fills the list with the table's columns and records.
  void LoadDbfTable(const CString& path, CListCtrl* list);

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()
};

class CDaoTreeView : public CView {
  DECLARE_DYNCREATE(CDaoTreeView)

 public:
  // Item kinds, kept as the items' images.
  enum Kind { kRoot = 0, kTable = 2, kTables = 3, kRelation = 8, kRelations = 9, kQuery = 10, kQueries = 11 };
  static constexpr UINT kTreeId = 1;

  CDaoTreeView();
  ~CDaoTreeView() override;
  // Lists the tables, relations and queries of m_pDatabase.
  void FillDatabaseTree();
  void AddSchemaItem(int kind, const CString& name);
  // Deletes the item's table or query from the database and the item from the tree.
  void DeleteSchemaItem(HTREEITEM item);
  CTreeCtrl& GetTreeCtrl() { return m_tree; }
  // What a drag over the tree may do: copy when a database is open and the data is of our own format;
  // the tree takes no drop of anything.
  DWORD OnDragEnter(IDataObject* data, DWORD keyState, CPoint point);
  DWORD OnDragOver(IDataObject* data, DWORD keyState, CPoint point);
  UINT GetClipboardFormat() const { return m_clipboardFormat; }

  CDaoDatabase* m_pDatabase = nullptr;  // not owned: the document's

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSelChanged(NMHDR* header, LRESULT* result);
  afx_msg void OnKeyDown(NMHDR* header, LRESULT* result);
  afx_msg void OnRClick(NMHDR* header, LRESULT* result);
  afx_msg void OnSysColorChange();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  HTREEITEM Insert(const CString& text, int kind, HTREEITEM parent);
  // Runs one kind's loop; a database error ends that loop only.
  template <typename Body>
  void ListKind(Body body);

  CTreeCtrl m_tree;
  CImageList m_images;
  UINT m_clipboardFormat = 0;
  IDropTarget* m_dropTarget = nullptr;  // registered on the tree while it exists
  HTREEITEM m_current = nullptr;
  HTREEITEM m_root = nullptr, m_tables = nullptr, m_lastTable = nullptr, m_relations = nullptr, m_queries = nullptr;
  BOOL m_bBusy = FALSE;
};

class CMDBListView : public TableListView {
  DECLARE_DYNCREATE(CMDBListView)

 public:
  CMDBListView() = default;
  // Deletes every row and column of the table shown.
  void ClearList();
  // Shows the table's records, at most the settings' number of rows.
  void LoadTableRecords(const CString& table);

  CDaoDatabase* m_pDatabase = nullptr;  // not owned: the document's

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()
};

class CMDB_View : public CView {
  DECLARE_DYNCREATE(CMDB_View)

 public:
  CMDB_View() = default;
  ~CMDB_View() override;
  CDaoTreeView* m_pTreeView = nullptr;
  CMDBListView* m_pListView = nullptr;

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  SplitterCtrl* m_pSplitter = nullptr;
};
