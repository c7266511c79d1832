// CTKListBase: what the toolkit's report lists share, held beside the window class by CTKListCtrl and
// CTKListView: sort arrows in a subclassed flat header, column widths kept in the registry as one
// "%d," text in display order, per-row colours, a tinted sort column, column helpers and painting
// through a memory DC.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <list>

#include "platform/classlib/cstring.h"
#include "platform/classlib/crect.h"
#include "toolkit/controls/tk_header_ctrl.h"

class CWnd;

// Text and background colours as distinct types, so that the row and list colour setters, whose
// arguments come in different orders, cannot be called with the two swapped.
struct TKTextColor {
  explicit TKTextColor(COLORREF c) : value(c) {}
  COLORREF value;
};
struct TKBackColor {
  explicit TKBackColor(COLORREF c) : value(c) {}
  COLORREF value;
};

struct TKRowColor {
  int nRow = -1;
  COLORREF crBack = 0;
  COLORREF crText = 0;
};

class CTKListBase {
 public:
  explicit CTKListBase(CWnd* pList);
  virtual ~CTKListBase();
  CTKListBase(const CTKListBase&) = delete;
  CTKListBase& operator=(const CTKListBase&) = delete;

  // Shows the arrow in the list's header when it is a toolkit header; returns the previous sort column.
  virtual int SetSortImage(int nColumn, BOOL bAscending);
  // The program's name for SetSortImage.
  int SetSortArrow(int nColumn, BOOL bAscending) { return SetSortImage(nColumn, bAscending); }
  // Field n of the stored widths (or of the default widths); 0 when it holds no width.
  virtual int GetStoredColumnWidth(int nIndex);
  // The column's stored width, by its display position; a column without one keeps its width.
  virtual void LoadColumnWidth(int nColumn);
  virtual void LoadColumnWidths();
  virtual void SaveColumnWidths();
  // -1: every column.
  virtual void AutoSizeColumn(int nColumn = -1);
  // Keeps the widths under the section and value ("Settings", "Column Info" when null) and loads them now.
  virtual void AutoSaveColumns(LPCTSTR lpszSection = nullptr, LPCTSTR lpszValue = nullptr,
                               LPCTSTR lpszDefaults = nullptr);
  virtual BOOL SubclassHeader(BOOL bBoldFont = FALSE);
  // Called after every sort change from a header click; the owner's class sorts its rows.
  virtual BOOL SortList(int nColumn, BOOL bAscending);
  virtual void AddExtendedStyle(DWORD dwBits);
  virtual DWORD GetExtendedStyle();
  virtual void SetColumnsLocked(BOOL bLocked) { m_bColumnsLocked = bLocked ? 1 : 0; }
  // The row under the point and its column (in report view the cell's, walking columns in display order).
  virtual int HitTestEx(CPoint point, int* pColumn);
  // -1 width: the current last column's. The new column's index, or -1.
  virtual int AddColumn(LPCTSTR lpszHeading, int nWidth = -1, int nFormat = LVCFMT_LEFT);
  virtual BOOL BuildColumns(int nCount, const int* pWidths, const LPCTSTR* pHeadings);
  virtual BOOL BuildColumns(int nCount, const int* pWidths, const UINT* pHeadingIDs);
  virtual int GetColumnCount();
  // The source row's index after the copy went in at nTo; -1 when the rows are equal or invalid. The copy
  // has the row's texts whole, its image, data, indent, check box, marks, selection and row colour; rows
  // below it keep their colours.
  virtual int CopyRow(int nFrom, int nTo);
  // The row moves with all it has, the focus too.
  virtual BOOL MoveRow(int nFrom, int nTo);
  virtual void SetListColors(TKTextColor text, TKBackColor back);
  virtual void SetRowColor(TKRowColor* pRow, TKBackColor back, TKTextColor text);
  virtual void SetRowColor(int nRow, TKTextColor text, TKBackColor back);
  virtual void ClearRowColors();
  virtual TKRowColor* FindRowColor(int nRow);
  // TRUE when the style changed.
  virtual BOOL ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd);
  virtual BOOL InitControl();
  void RefreshMetrics();

  int GetSortColumn() const { return m_nSortColumn; }
  BOOL IsSortAscending() const { return m_bSortAscending; }
  CTKFlatHeaderCtrl& FlatHeader() { return m_header; }
  // The list's header as a toolkit header, or null.
  CTKHeaderCtrl* ToolkitHeader() const;

  int m_nMinColWidth = 0;
  int m_nMaxColWidth = 0;
  BYTE m_bUseStandardFont = 0;
  BYTE m_bRowColors = 0;
  BYTE m_bTintSortColumn = 0;

 protected:
  // The owners' messages. Each answers TRUE when it handled the message and set the result.
  BOOL HandleHeaderNotify(const NMHDR* pNMHDR, LRESULT* pResult);
  void HandleCustomDraw(NMLVCUSTOMDRAW* pDraw, LRESULT* pResult);
  BOOL HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

 private:
  HWND List() const;
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  bool IsReport() const;
  HWND HeaderWindow() const;
  COLORREF ListBack() const;
  COLORREF ListText() const;
  void Paint();
  CString StoredText();
  void RedrawRowIfShown(int nRow);
  // A cell's text, whole.
  CString ItemText(int nRow, int nColumn) const;
  // The row copied with the states of stateMask; the source's index after it, or -1.
  int CopyRowWith(int nFrom, int nTo, UINT stateMask);
  // Row colours follow their rows when one goes in or out.
  void RowInserted(int nRow);
  void RowRemoved(int nRow);
  // Column nIndex with its sub-item of the same number; the new index or -1.
  int InsertColumnAt(int nIndex, LPCTSTR lpszHeading, int nWidth, int nFormat);

  BYTE m_bAutoSave = 0;
  BYTE m_bCustomColors = 0;
  BYTE m_bSortAscending = 1;
  BYTE m_bColumnsLocked = 0;
  int m_nSortColumn = -1;
  // Set by the base's own GetStoredColumnWidth when the profile has no field at the position it read.
  bool m_bNoStoredField = false;
  CString m_strSection, m_strValue, m_strDefaults;
  COLORREF m_crListText = static_cast<COLORREF>(-1);
  COLORREF m_crListBack = static_cast<COLORREF>(-1);
  COLORREF m_crSortText = 0;
  COLORREF m_crSortBack = 0;
  // The tiled background bitmap set on the list (LVM_SETBKIMAGE); the list view owns it.
  HBITMAP m_hBackgroundTile = nullptr;
  std::list<TKRowColor> m_rowColors;
  CTKFlatHeaderCtrl m_header;
  CWnd* m_pList;
};
