// CTKHeaderCtrl: the toolkit's list header. Its theme draws the items (the sort arrow beside the sorted
// column's text, bitmaps, hot and pressed items); a right click offers sorting and alignment, and a sort
// chosen there reaches the list as an ordinary right-button item click. CTKFlatHeaderCtrl is the same
// control on a flat theme of its own; the toolkit's lists subclass it onto their header.
#pragma once

#include <map>

#include "platform/classlib/win/cheaderctrl.h"
#include "platform/classlib/win/cimagelist.h"
#include "toolkit/controls/tk_header_theme.h"

class CTKHeaderCtrl : public CHeaderCtrl {
  DECLARE_DYNAMIC(CTKHeaderCtrl)

 public:
  CTKHeaderCtrl();
  ~CTKHeaderCtrl() override;
  CTKHeaderCtrl(const CTKHeaderCtrl&) = delete;
  CTKHeaderCtrl& operator=(const CTKHeaderCtrl&) = delete;

  virtual BOOL IsColumnPressed(int nColumn);
  virtual void SetFontBold(BOOL bBold);
  // An own popup menu for the right click (resource id and submenu index); 0 restores the toolkit's.
  virtual void SetMenuID(UINT nIDMenu, int nSubMenu);
  virtual void ApplyToolkitFont(BOOL bBold);
  virtual void ShowSortArrow(BOOL bShow);
  // LVCFMT_LEFT, LVCFMT_CENTER or LVCFMT_RIGHT for the column under the last right click.
  virtual void SetAlignment(int nFormat);
  virtual BOOL IsRightToLeft();
  // Gives every column an equal share of the total.
  virtual void DistributeWidth(int nTotal);
  // Shares the width (the header's own when below 1) less the list's vertical scroll bar.
  virtual void FitFieldsToClient(int nWidth);

  // Shows the arrow on the column (ascending: pointing up); -1 shows none. Returns the previous column.
  int SetSortImage(int nColumn, BOOL bAscending);
  int GetSortImage(BOOL* pbAscending = nullptr) const;
  BOOL HasSortArrow() const;
  BOOL HasTheme() const { return GetTheme() != nullptr; }
  CTKHeaderTheme* GetTheme() const { return static_cast<CTKHeaderTheme*>(m_themeHost.GetSafeTheme()); }
  CTKThemeManagerStyleHost& ThemeHost() { return m_themeHost; }
  // A bitmap resource drawn before the column's text (through the theme); bRemove takes it away.
  BOOL SetBitmap(int nColumn, UINT nIDBitmap, BOOL bRemove = FALSE, COLORREF crMask = RGB(255, 0, 255));
  int GetHotColumn() const { return m_nHotColumn; }

  // The column images set by SetBitmap, kept beside the items: an item's own bitmap field would be
  // taken by the control's painting as a bitmap handle.
  HIMAGELIST GetColumnImages(int nColumn) const;
  void SetColumnImages(int nColumn, HIMAGELIST hImages);
  void DestroyColumnImages();
  // A column went in or out: the images of the columns after it move with them.
  void ColumnInserted(int nColumn);
  void ColumnDeleted(int nColumn);

  // The parent is a list control or list view (the alignment commands and sort notices go only there).
  BOOL IsParentList() const;
  // The column under the last right click, or -1.
  int RightClickColumn();

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PreSubclassWindow() override;
  // Recomputes the height and makes the list lay itself out again.
  void RecalcLayout();

 private:
  class HeaderThemeHost : public CTKThemeManagerStyleHost {
   public:
    HeaderThemeHost(CTKHeaderCtrl* pHeader, CRuntimeClass* pFactoryClass)
        : CTKThemeManagerStyleHost(pFactoryClass), m_pHeader(pHeader) {}
    void OnThemeChanged() override { m_pHeader->RecalcLayout(); }

   private:
    CTKHeaderCtrl* m_pHeader;
  };

  // Whether the theme draws with the system's visual style is settled once the window exists.
  void InitHeader();
  void OnPaint();
  void OnTimerStep();
  void OnRightButtonDown(CPoint point);
  void ShowToolkitMenu(int nColumn, CPoint screen);
  void OnSortCommand(BOOL bAscending);
  void SendSortNotification(int nColumn);
  int ColumnAt(CPoint point);

  HeaderThemeHost m_themeHost;
  std::map<int, HIMAGELIST> m_columnImages;
  int m_nSubMenu = 0;
  int m_nHotColumn = -1;
  int m_nSortColumn = -1;
  bool m_bRightToLeft = false;
  BOOL m_bAscending = TRUE;
  BOOL m_bLButtonDown = FALSE;
  BOOL m_bHotShown = FALSE;
  UINT m_nMenuID = 0;
  CPoint m_ptRightClick{-1, -1};
};

class CTKFlatHeaderCtrl : public CTKHeaderCtrl {
  DECLARE_DYNAMIC(CTKFlatHeaderCtrl)

 public:
  CTKFlatHeaderCtrl();
};
