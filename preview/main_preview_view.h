// CMainPreviewView: the preview pane of the results page. It picks a viewer by the file's extension; so
// far it has none and names the file it was given, its extension and where the item lies.
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cview.h"

class CMainPreviewView : public CView {
  DECLARE_DYNCREATE(CMainPreviewView)

 public:
  CMainPreviewView() = default;

  // Closes every child viewer the pane has open.
  void ClosePreviewViews();
  // Shows the file (path, lower-case extension with its "."); "largefile" with ".largefile" is the view of
  // files too large to preview; an empty path empties the pane.
  void ShowPreviewForFile(CString path, CString extension);

  const CString& GetShownPath() const { return m_path; }
  const CString& GetShownExtension() const { return m_extension; }

 protected:
  void OnDraw(CDC* pDC) override;

 private:
  CString m_path;
  CString m_extension;
};
