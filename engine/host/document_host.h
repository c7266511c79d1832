// What the engine needs of the document (CEx_StyleDoc): the folder of preview thumbnails.
#pragma once

#include <string>

namespace host {

class DocumentHost {
 public:
  virtual ~DocumentHost() = default;
  // CEx_StyleDoc::EmptyThumbnailFolder: makes folder the thumbnail folder, forgets its thumbnails and
  // deletes every file in it (not its sub-folders).
  virtual void EmptyThumbnailFolder(const std::u16string& folder) = 0;
};

}  // namespace host
