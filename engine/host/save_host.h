// What the savers need of the saving dialog ("Saving the data please wait"): the texts that say what is
// being written and the bar of the file in hand. The dialog's questions and the final report go through
// the message box of host.h; the results list's check sets and the tree walk through result_tree_host.h.
// The savers run on the dialog's worker thread; the window side marshals the calls.
#pragma once

#include <cstdint>
#include <string>

namespace host {

class SaveProgressHost {
 public:
  virtual ~SaveProgressHost() = default;
  // The "Path" value: the target path of the file being written.
  virtual void SetPathText(const std::u16string& text) = 0;
  // The "File Name" value.
  virtual void SetFileNameText(const std::u16string& text) = 0;
  // The "Total Files" value: the files started in this save, in decimal.
  virtual void SetTotalFilesText(const std::u16string& text) = 0;
  // The bar, 0 to 100.
  virtual void SetProgressPos(uint32_t position) = 0;
};

}  // namespace host
