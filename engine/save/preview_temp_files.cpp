#include "engine/save/preview_temp_files.h"

#include <string>

#include "engine/host/document_host.h"
#include "engine/host/result_tree_host.h"
#include "platform/os/os.h"

std::vector<std::u16string> DeleteFiles(const std::vector<std::u16string>& paths) {
  std::vector<std::u16string> left;
  for (const std::u16string& path : paths) {
    if (!os::RemoveFile(path) && os::FileExists(path)) left.push_back(path);
  }
  return left;
}

void DeletePreviewTempFiles() {
  const host::Hosts& hosts = host::Current();
  if (hosts.resultList != nullptr) hosts.resultList->KeepPreviewTempFiles(DeleteFiles(hosts.resultList->PreviewTempFiles()));
  // The whole temporary path, however long it is.
  const std::u16string thumbnails = os::TempFolderPath() + u"ssss";
  os::RemoveFolder(thumbnails);
  if (hosts.document != nullptr) hosts.document->EmptyThumbnailFolder(thumbnails);
}
