#include "app/results/preview_temp.h"

#include "platform/classlib/cstring.h"
#include "platform/os/os.h"

uint32_t PreviewTempCounter = 0;
std::map<uint32_t, std::u16string> PreviewTempFileTable;
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
  std::u16string name = u"tmp" + Decimal(PreviewTempCounter) + u"." + extension;
  // Every number is tried at most once; past the last one the name is taken as it stands.
  while (os::FileExists(folder + name) && PreviewTempCounter != UINT32_MAX) {
    ++PreviewTempCounter;
    name = u"tmp" + Decimal(PreviewTempCounter) + u"." + extension;
  }
  PreviewTempFileTable[PreviewTempCounter] = folder + name;
  return name;
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

std::vector<std::u16string> PreviewTempPaths() {
  std::vector<std::u16string> paths;
  paths.reserve(PreviewTempFileTable.size());
  for (const auto& entry : PreviewTempFileTable) paths.push_back(entry.second);
  return paths;
}

void KillOfficePreviewApps() {}

FilePreviewStep ChooseFilePreviewStep(bool previewable, bool hasSize, uint64_t size) {
  if (!previewable) return FilePreviewStep::kRefuse;
  if (hasSize && size > kLargestPreviewSize) return FilePreviewStep::kLargeFile;
  return FilePreviewStep::kPreview;
}
