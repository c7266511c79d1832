// How page 4 reaches the application, the frame and the other pages.
#pragma once

class CMainFrame;

// Gives page 4 its links, makes its preview pane the frame's preview view and lets the listers ask the
// page's shell information; once the pages exist.
void InstallResultsPageLinks(CMainFrame* frame);
