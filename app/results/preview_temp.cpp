#include "app/results/preview_temp.h"

#include <algorithm>

#include "engine/save/safe_path_component.h"
#include "platform/classlib/cstring.h"
#include "platform/os/os.h"

uint32_t PreviewTempCounter = 0;
std::vector<std::u16string> PreviewTempFileTable;
LastPreviewRecord LastPreview;

namespace {

std::u16string Lower(const std::u16string& text) {
  CString lower = CString::FromUtf16(text);
  lower.MakeLower();
  return lower.ToUtf16();
}

std::u16string AfterLastDot(const std::u16string& text) {
  const size_t dot = text.rfind(u'.');
  return dot == std::u16string::npos ? text : text.substr(dot + 1);
}

std::u16string Decimal(uint32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string PreviewNameExtension(const std::u16string& name) { return Lower(AfterLastDot(name)); }

std::u16string PreviewPaneExtension(const std::u16string& path) { return u"." + AfterLastDot(path); }

std::u16string MakePreviewTempName(const std::u16string& folder, const std::u16string& fileName) {
  const std::u16string extension = PreviewNameExtension(fileName);
  // The name looked for is the one the saver writes.
  auto nameOf = [&extension](uint32_t number) { return SafePathComponent(u"tmp" + Decimal(number) + u"." + extension); };
  std::u16string name = nameOf(PreviewTempCounter);
  // Every number is tried at most once; past the last one the name is taken as it stands.
  while (os::FileExists(folder + name) && PreviewTempCounter != UINT32_MAX) {
    ++PreviewTempCounter;
    name = nameOf(PreviewTempCounter);
  }
  return name;
}

void RememberPreviewTempFile(const std::u16string& path) {
  if (std::find(PreviewTempFileTable.begin(), PreviewTempFileTable.end(), path) == PreviewTempFileTable.end()) {
    PreviewTempFileTable.push_back(path);
  }
}

std::u16string MakePreviewTempName(const std::u16string& fileName) {
  return MakePreviewTempName(os::TempFolderPath(), fileName);
}

uint32_t IsNewPreview(const std::u16string& folder, const std::u16string& name, uint32_t id) {
  std::u16string path = folder;
  if (path.empty() || path.back() != u'\\') path += u'\\';
  path = Lower(path + name);
  if (path == Lower(LastPreview.text) && id == LastPreview.id) return 0;
  LastPreview.text = path;
  LastPreview.id = id;
  return 1;
}

std::vector<std::u16string> PreviewTempPaths() { return PreviewTempFileTable; }

void SetPreviewTempPaths(const std::vector<std::u16string>& paths) { PreviewTempFileTable = paths; }

void KillOfficePreviewApps() {}

FilePreviewStep ChooseFilePreviewStep(bool previewable, bool hasSize, uint64_t size) {
  if (!previewable) return FilePreviewStep::kRefuse;
  if (hasSize && size > kLargestPreviewSize) return FilePreviewStep::kLargeFile;
  return FilePreviewStep::kPreview;
}
