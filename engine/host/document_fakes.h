// A recording document, for tests and the headless driver.
#pragma once

#include <string>
#include <vector>

#include "engine/host/document_host.h"

namespace host {

class RecordingDocument : public DocumentHost {
 public:
  void EmptyThumbnailFolder(const std::u16string& folder) override { emptiedFolders.push_back(folder); }
  std::vector<std::u16string> emptiedFolders;
};

}  // namespace host
