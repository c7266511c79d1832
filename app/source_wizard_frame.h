// The application's side of the source pages: the frame's flags, the pages and the results list as pages
// 0 and 1 reach them (source::SourceWizard).
#pragma once

// Installs the wizard once the pages exist; RemoveSourceWizard undoes it.
void InstallSourceWizard();
void RemoveSourceWizard();
