// The files the preview pane is given: each file row previewed is written from the source into the
// temporary folder as "tmp" + a number + "." + its extension, remembered once written so that it can be
// deleted on Back, Home and exit (DeletePreviewTempFiles), and not written again while it is the file shown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The number of the next temporary name. It moves on only once a file of that name exists, so the
// next file previewed takes the same number when the last one was never written.
extern uint32_t PreviewTempCounter;
// Every temporary copy written and not yet deleted, in the order they were made. Copies of different types
// share a number (tmp0.txt, tmp0.jpg), so each is kept by its whole path.
extern std::vector<std::u16string> PreviewTempFileTable;

// What was previewed last: its lower-cased path and record id ("PAth" and 0 before the first). The
// text becomes a row's name when a preview is refused or replaced by the large-file view, and empty
// when the preview is cleared, so that the next file is written again.
struct LastPreviewRecord {
  std::u16string text = u"PAth";
  uint32_t id = 0;
  std::u16string tempPath;  // the temporary file written for it
};
extern LastPreviewRecord LastPreview;

// Files larger than this get the pane's large-file view instead of a preview.
constexpr uint64_t kLargestPreviewSize = 5242880;

// The text after the last "." of the name (the whole name when it has none), lower-cased.
std::u16string PreviewNameExtension(const std::u16string& name);
// "." + the text after the last "." of the path (the whole path when it has none), as the pane takes it.
std::u16string PreviewPaneExtension(const std::u16string& path);

// The temporary name (without folder) for a file of this name in folder (ending with a separator):
// "tmp%d.%s" with PreviewTempCounter and the name's extension, made a name the system takes as it is
// written (SafePathComponent); the counter moves on past names that exist, so no other file is overwritten.
std::u16string MakePreviewTempName(const std::u16string& folder, const std::u16string& fileName);
// The same in the system's temporary folder.
std::u16string MakePreviewTempName(const std::u16string& fileName);

// 1 when the file (folder + name, with id) is not the one previewed last, and it becomes that one;
// 0 when it is (compared case-insensitively).
uint32_t IsNewPreview(const std::u16string& folder, const std::u16string& name, uint32_t id);

// A copy written at path joins PreviewTempFileTable (once).
void RememberPreviewTempFile(const std::u16string& path);
// The paths of PreviewTempFileTable; and the table replaced (with the copies that could not be deleted).
std::vector<std::u16string> PreviewTempPaths();
void SetPreviewTempPaths(const std::vector<std::u16string>& paths);

// Called before a preview is written, where the spreadsheet and presentation programs that could hold an
// old temporary file open would be ended. It ends nothing, on purpose: ending the user's own programs would
// lose their unsaved work, and every preview is written under a name no file has yet, so nothing is in the
// way.
void KillOfficePreviewApps();

// What a click on a file row does with the preview, before the file is looked at again.
enum class FilePreviewStep {
  kRefuse,     // the pane has no view for the extension: the preview is emptied
  kLargeFile,  // larger than kLargestPreviewSize: the pane's large-file view
  kPreview,    // written to a temporary file (unless it is the one shown last) and shown
};
// previewable: the pane takes the extension; hasSize: false for File Trace rows, which carry none.
FilePreviewStep ChooseFilePreviewStep(bool previewable, bool hasSize, uint64_t size);
