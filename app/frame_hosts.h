// What the engine reaches of the main frame and its pages: the message box (the program's message host),
// the snapshot save dialog and the results page, the results list, the progress dialog of a snapshot load
// and the document's thumbnail folder.
#pragma once

#include <memory>

#include "engine/host/document_host.h"
#include "engine/host/snapshot_host.h"

class CMainFrame;
class CEx_StyleDoc;
class ProgressDialog;

class FrameSnapshotHost : public host::SnapshotFrameHost {
 public:
  bool AskSnapshotSavePath(std::u16string* path) override;
  void PlainMessageBox(const std::u16string& text) override;
  void ShowResultsPage() override;
};

// The progress dialog of a snapshot load, owned by the results page; the frame's ProgressWindow names it
// while it is up. The bar is moved by its message, so that a call from another thread is marshalled, and
// each move lets the window answer what is waiting for it.
class FrameProgressHost : public host::ProgressDialogHost {
 public:
  FrameProgressHost();
  ~FrameProgressHost() override;
  bool Create() override;
  void SetRange(uint32_t lower, uint32_t upper) override;
  void ShowWindow(bool show) override;
  void SetPos(uint32_t position) override;
  void DestroyWindow() override;

 private:
  std::unique_ptr<ProgressDialog> dialog_;
};

// The document, which keeps the preview's thumbnail folder.
class FrameDocumentHost : public host::DocumentHost {
 public:
  explicit FrameDocumentHost(CEx_StyleDoc* document = nullptr) : document_(document) {}
  void EmptyThumbnailFolder(const std::u16string& folder) override;

 private:
  CEx_StyleDoc* document_;
};

// Installs the frame's hosts (on the frame's thread, once the pages exist); RemoveFrameHosts undoes it.
void InstallFrameHosts(CMainFrame* frame);
void RemoveFrameHosts();
