// The two views of the preview pane that show an open Access database: the tree of its tables and
// queries, and the list of a table's rows. The document hands them its open database. Until the
// database viewers are built, these show nothing: no database engine is installed to read one.
#pragma once

#include "platform/classlib/win/cview.h"

class CDaoDatabase;

class CDaoTreeView : public CView {
  DECLARE_DYNCREATE(CDaoTreeView)

 public:
  CDaoTreeView() = default;
  // Lists the tables and queries of m_pDatabase (none while it is not open).
  void FillDatabaseTree();

  CDaoDatabase* m_pDatabase = nullptr;  // not owned: the document's

 protected:
  void OnDraw(CDC* pDC) override;
};

class CMDBListView : public CView {
  DECLARE_DYNCREATE(CMDBListView)

 public:
  CMDBListView() = default;
  // Deletes every row and column of the table shown.
  void ClearList();

  CDaoDatabase* m_pDatabase = nullptr;  // not owned: the document's

 protected:
  void OnDraw(CDC* pDC) override;
};
