// Removing the temporary files written for the preview pane, at exit and when the pages go Back or Home.
#pragma once

#include <string>
#include <vector>

// Deletes each file; answers those still there afterwards (a file that is open cannot go), in their order.
std::vector<std::u16string> DeleteFiles(const std::vector<std::u16string>& paths);

// Deletes every file of the results list's PreviewTempFiles, which keeps those that could not go (to be
// deleted once their viewer lets go of them), removes the thumbnail folder "ssss" in the temporary folder
// when it is empty, and has the document empty it.
void DeletePreviewTempFiles();
