// What the preview pane and its viewers share with the main frame and the document. The frame carries
// PreviewHost (the pane and the outcome of the last preview), the document PreviewDocument (the path the
// next viewer loads, the thumbnail folder, the database the database views show). The program has one of
// each; viewers find them here.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/classlib/carray.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cwnd.h"

class CDaoTreeView;
class CMDBListView;
class CMainPreviewView;

class PreviewHost {
 public:
  PreviewHost() { Current() = this; }
  virtual ~PreviewHost() {
    if (Current() == this) Current() = nullptr;
  }
  PreviewHost(const PreviewHost&) = delete;
  PreviewHost& operator=(const PreviewHost&) = delete;
  // Gives the keyboard focus to the results page's item list after a preview.
  virtual void FocusResultList() {}
  // A progress window over parent, shown while a viewer loads a long file and destroyed with its
  // pointer; the DXF library moves its bar by sending it kDxfProgressMessage with the percentage. Null:
  // the file loads without one.
  virtual std::unique_ptr<CWnd> ShowLoadProgress(CWnd*) { return nullptr; }

  CMainPreviewView* m_pPreviewView = nullptr;  // set by the pane when it is created
  uint32_t m_bPreviewOk = 0;          // 0 when the last viewer could not show its file
  uint32_t m_bPreviewSupported = 0;   // the pane has a viewer for the last extension
  uint32_t m_bNoFileSelected = 1;     // the results page's selection is not a file
  // The selected file could not be read because the disk image it lies on is not open (a snapshot loaded
  // alone): nothing was copied, and the pane says what to open.
  uint32_t m_bImageNeeded = 0;
  // The last viewer could not show its file because an outside component it needs (a class that cannot
  // be created, a library that cannot be loaded, a decoder not built in) is not on this machine: the file
  // may well be sound, so the pane must not call it damaged.
  uint32_t m_bComponentMissing = 0;

  // The program has one main frame: the host made last.
  static PreviewHost*& Current() {
    static PreviewHost* current = nullptr;
    return current;
  }
};

class PreviewDocument {
 public:
  PreviewDocument() { Current() = this; }
  virtual ~PreviewDocument() {
    if (Current() == this) Current() = nullptr;
  }
  PreviewDocument(const PreviewDocument&) = delete;
  PreviewDocument& operator=(const PreviewDocument&) = delete;

  CString m_previewPath;      // the file the next viewer loads
  CString m_thumbFolder;      // the folder of the thumbnail pictures
  CStringArray m_thumbFiles;  // the names of the pictures in it, in ascending order
  uint32_t m_recoveryMode = 0;  // the scan that found the file (records::kQuickScan, ...), set with the path
  CDaoTreeView* m_pDaoTreeView = nullptr;    // the database views' own, set when they are created
  CMDBListView* m_pTableListView = nullptr;

  // The program's document fills these; a test's document without pictures or databases has none.
  // Takes the folder's picture files as the thumbnail list.
  virtual void LoadThumbnailFolder(const CString&) {}
  // Deletes the files of the folder and empties the thumbnail list.
  virtual void EmptyThumbnailFolder(const CString&) {}
  // Opens the database for the database views; FALSE when it cannot be opened.
  virtual BOOL OpenDatabase(const CString&) { return FALSE; }

  // The program has one document: the one made last.
  static PreviewDocument*& Current() {
    static PreviewDocument* current = nullptr;
    return current;
  }
};

// The main frame as the preview's host; null before it is made or after it went.
inline PreviewHost* CurrentPreviewHost() { return PreviewHost::Current(); }

// Told by a viewer whose outside component is missing: nothing is shown, and the pane says that this type
// cannot be previewed here rather than that the file is damaged.
inline void ReportPreviewComponentMissing() {
  if (PreviewHost* host = CurrentPreviewHost()) {
    host->m_bPreviewOk = 0;
    host->m_bComponentMissing = 1;
  }
}

// The document the viewers read; null when there is none.
inline PreviewDocument* CurrentPreviewDocument() { return PreviewDocument::Current(); }
