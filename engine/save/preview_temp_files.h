// Removing the temporary files written for the preview pane, at exit and when the pages go Back or Home.
#pragma once

// Deletes every file of the results list's PreviewTempFiles (failures are ignored), removes the
// thumbnail folder "ssss" in the temporary folder when it is empty, and has the document empty it.
void DeletePreviewTempFiles();
