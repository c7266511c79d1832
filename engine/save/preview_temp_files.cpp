#include "engine/save/preview_temp_files.h"

#include <string>

#include "engine/host/document_host.h"
#include "engine/host/result_tree_host.h"
#include "platform/os/os.h"

void DeletePreviewTempFiles() {
  const host::Hosts& hosts = host::Current();
  if (hosts.resultList != nullptr) {
    for (const std::u16string& path : hosts.resultList->PreviewTempFiles()) os::RemoveFile(path);
  }
  // The whole temporary path, however long it is.
  const std::u16string thumbnails = os::TempFolderPath() + u"ssss";
  os::RemoveFolder(thumbnails);
  if (hosts.document != nullptr) hosts.document->EmptyThumbnailFolder(thumbnails);
}
