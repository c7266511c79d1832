// The button image editor ("Button Editor"): a button's icon enlarged as a grid of cells that the
// tools draw on, a preview at real size, a palette with a transparent and a custom swatch, the Tools
// and Move toolbars, OK and Cancel. The caller sets the icon's size and the icon, runs DoModal and on
// IDOK takes the edited icon. What the tools do to the image lies in EditorModel (portable).
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "platform/classlib/win/cdialog.h"
#include "platform/classlib/win/cimagelist.h"
#include "platform/classlib/win/cstatic.h"
#include "platform/classlib/win/ctoolbar.h"
#include "platform/classlib/win/ctooltipctrl.h"
#include "toolkit/commandbars/customize/tkp_image_editor_model.h"
#include "toolkit/common/tkp_image_manager.h"

class CTKPButtonEditorDialog;

// A 32-bit top-down DIB section of the image (0xFFFEFF where it is transparent), or null.
HBITMAP TKPCreateEditorBitmap(const tkp_image_editor::EditorImage& image);
// The image of any bitmap, cut or padded to the size; without alpha, `from` becomes `to`.
tkp_image_editor::EditorImage TKPEditorImageFromBitmap(HBITMAP hBitmap, int width, int height, BOOL bAlpha,
                                                         COLORREF from, COLORREF to);
// The image of an icon handle: an alpha bitmap with its alpha, an icon drawn onto the transparent colour.
tkp_image_editor::EditorImage TKPEditorImageFromIcon(const CTKPImageManagerIconHandle& icon, CSize size);

// The enlarged picture: the mouse draws on its cells.
class CTKPButtonEditorPicture : public CStatic {
 public:
  explicit CTKPButtonEditorPicture(CTKPButtonEditorDialog* pDialog) : m_pDialog(pDialog) {}
  // Takes over the dialog's static and sizes it to whole cells.
  BOOL Attach(UINT nID);
  CSize GetCellSize() const { return m_cell; }
  // The cell under a client point (may lie outside the image).
  tkp_image_editor::Cell CellAt(CPoint pt) const;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  CTKPButtonEditorDialog* m_pDialog;
  CSize m_cell{1, 1};
};

// One colour swatch; a click tells the dialog (WM_NOTIFY, NM_CLICK, its id).
class CTKPImageEditorPicker : public CWnd {
 public:
  COLORREF m_clr = 0;
  BOOL m_bSelected = FALSE;

  void SetColor(COLORREF clr);
  void SetSelected(BOOL bSelected);

 protected:
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};

// The icon at real size.
class CTKPButtonEditorPreview : public CStatic {
 public:
  explicit CTKPButtonEditorPreview(CTKPButtonEditorDialog* pDialog) : m_pDialog(pDialog) {}

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CTKPButtonEditorDialog* m_pDialog;
};

class CTKPButtonEditorDialog : public CDialog {
 public:
  static constexpr int kPaletteCount = 16;

  explicit CTKPButtonEditorDialog(CWnd* pParent = nullptr);
  ~CTKPButtonEditorDialog() override;

  // Before DoModal: the icon's size (16 x 16 until set) and the icon (an alpha bitmap keeps its alpha).
  void SetIconSize(CSize size);
  void SetIcon(const CTKPImageManagerIconHandle& icon);
  // After IDOK: the edited icon (an alpha bitmap, or an icon), or empty.
  void GetIcon(CTKPImageManagerIconHandle& icon) const;

  INT_PTR DoModal() override;

  tkp_image_editor::EditorModel& Model() { return m_model; }
  COLORREF GetDrawingColor() const;
  // A picked colour becomes the custom swatch's, and that swatch the selected one.
  void SetPickedColor(COLORREF clr);
  // Repaints the picture and the preview.
  void RefreshImage();
  CTKPImageEditorPicker* GetSelectedPicker() const { return m_pSelected; }
  CTKPImageEditorPicker* GetPicker(UINT nID);
  CToolBar& GetToolsBar() { return m_wndTools; }
  CToolBar& GetMoveBar() { return m_wndMove; }
  CToolTipCtrl& GetSwatchTips() { return m_tips; }

 protected:
  BOOL OnInitDialog() override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTool(UINT nID);
  afx_msg void OnUpdateTool(CCmdUI* pCmdUI);
  afx_msg void OnUndo();
  afx_msg void OnUpdateUndo(CCmdUI* pCmdUI);
  afx_msg void OnRedo();
  afx_msg void OnUpdateRedo(CCmdUI* pCmdUI);
  afx_msg void OnClear();
  afx_msg void OnCopy();
  afx_msg void OnPaste();
  afx_msg void OnUpdatePaste(CCmdUI* pCmdUI);
  afx_msg void OnImport();
  afx_msg void OnMove(UINT nID);
  afx_msg void OnUpdateAlways(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL CreateToolBar(CToolBar& bar, UINT nPlaceholder, const UINT* ids, int count, int perRow);
  void CreatePickers();
  void SelectPicker(CTKPImageEditorPicker* pPicker);
  void OnPickerClick(UINT nID);
  BOOL ImportFile(const CString& path);

  tkp_image_editor::EditorModel m_model;
  CSize m_szIcon{16, 16};
  tkp_image_editor::EditorImage m_icon;  // the caller's, until the dialog starts
  CToolBar m_wndTools;
  CToolBar m_wndMove;
  CImageList m_images;
  CTKPButtonEditorPicture m_wndPicture{this};
  CTKPButtonEditorPreview m_wndPreview{this};
  std::array<CTKPImageEditorPicker, kPaletteCount> m_palette;
  CTKPImageEditorPicker m_wndTransparent;
  CTKPImageEditorPicker m_wndCustom;
  CTKPImageEditorPicker* m_pSelected = nullptr;
  CToolTipCtrl m_tips;  // the swatches' names
};
