// CMainPreviewView: the preview pane of the results page. It paints a band at its top ("Preview:" and
// where the item lies) and below it hosts one viewer at a time, picked by the file's extension and
// created anew for every file. A viewer that cannot show its file clears the frame's preview flag while
// it is created; the pane then adds the no-preview view, which tells why.
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cview.h"
#include "preview/preview_extensions.h"

struct CRuntimeClass;

// The viewer class of each slot (PreviewSlot order). Tests put classes of their own here.
extern CRuntimeClass* PreviewViewerClasses[kPreviewSlotCount];
// Puts back the program's own viewer classes.
void ResetPreviewViewerClasses();

class CMainPreviewView : public CView {
  DECLARE_DYNCREATE(CMainPreviewView)

 public:
  CMainPreviewView();

  // Closes (WM_CLOSE) every viewer the pane holds and forgets it.
  void ClosePreviewViews();
  // Shows the file (path, extension with its "."; lower-cased here): "largefile" with ".largefile" is the
  // view of files too large to preview, "imageneeded" with ".imageneeded" the no-preview view saying that
  // the file's disk image must be opened; an empty extension, or one without a viewer, the no-preview view.
  void ShowPreviewForFile(CString path, CString extension);

  // The viewer creators; each stores the path where the viewer reads it, creates the viewer as a child
  // of the pane, and shows and sizes it. A viewer that cannot be created clears the frame's preview flag.
  void ShowImageView(const CString& path);
  void ShowPictureView(const CString& path);
  void ShowHtmlView(const CString& path);
  void ShowCustomHtmlView(const CString& path);
  void ShowDocumentView(const CString& path);
  void ShowArchiveView(const CString& path);
  void ShowAviView(const CString& path);
  void ShowMediaView(const CString& path);
  void ShowDbfView(const CString& path);
  // 1 when the database opened and the view is shown.
  int ShowMdbView(const CString& path);
  void ShowDxfView(const CString& path);
  void ShowPsdView(const CString& path);
  void ShowNoPreviewView();
  void ShowLargeFileView();
  // The no-preview view saying that the selected file cannot be read until its disk image is open.
  void ShowImageNeededView();
  // The pictures of the folder as thumbnails; the folder and its files are removed afterwards.
  void ShowSlideThumbnails(const CString& folder);
  // The presentation's slides through PowerPoint, shown as thumbnails: 1 when they are shown.
  int ExportSlideAsGif(const CString& path);

  // The viewer in a slot (null when none, or when its window has gone).
  CWnd* SlotView(PreviewSlot slot);
  // The file and extension last given to ShowPreviewForFile, as given.
  const CString& GetShownPath() const { return m_shownPath; }
  const CString& GetShownExtension() const { return m_shownExtension; }

  CRect m_rcBand;
  CRect m_rcContent;
  CString m_strCaption;
  CWnd* m_pImageView = nullptr;
  CWnd* m_pHtmlView = nullptr;
  CWnd* m_pDocumentView = nullptr;
  CWnd* m_pArchiveView = nullptr;
  CWnd* m_pAviView = nullptr;
  CWnd* m_pMediaView = nullptr;
  CWnd* m_pThumbView = nullptr;
  CWnd* m_pDbfView = nullptr;
  CWnd* m_pMdbView = nullptr;
  CWnd* m_pNoPreviewView = nullptr;
  CWnd* m_pCustomHtmlView = nullptr;
  CWnd* m_pDxfView = nullptr;
  CWnd* m_pPsdView = nullptr;
  CWnd* m_pLargeFileView = nullptr;
  CWnd* m_pPictureView = nullptr;

  // The band's height, and where viewers begin (they overlap its lowest part).
  static constexpr int kBandHeight = 50;
  static constexpr int kViewerTop = 35;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  CWnd*& Slot(PreviewSlot slot);
  // Stores a viewer with its window, by which the pane later knows whether the viewer still lives.
  void SetSlot(PreviewSlot slot, CWnd* view);
  CWnd* LiveView(PreviewSlot slot);
  // Creates the slot's viewer. loadsFile: the path goes to the document first. Null (and the frame's
  // preview flag cleared) when it could not be created.
  CWnd* CreateViewer(PreviewSlot slot, const CString* path);
  // Stores, shows and sizes a created viewer.
  void ShowViewer(PreviewSlot slot, CWnd* view);
  // Creates, stores, shows and sizes; false when it could not be created.
  bool ShowSimpleView(PreviewSlot slot, const CString& path);
  // The same for a view that loads nothing.
  void ShowPlaceholderView(PreviewSlot slot);
  void RunAction(PreviewAction action, const CString& path);
  // When the viewer that failed lacked its outside component, the flags read by the no-preview view are set
  // to a type without a viewer.
  void ShowMissingComponentAsNoViewer();
  void DrawBand(CDC* pDC, const CRect& band);

  CString m_shownPath;
  CString m_shownExtension;
  HWND m_slotWindows[kPreviewSlotCount] = {};
};
