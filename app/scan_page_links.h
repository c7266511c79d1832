// How page 2 reaches the application, the frame and the other pages.
#pragma once

class CMainFrame;

// Gives page 2 its links and makes its progress panel the frame's scan panel; once the pages exist.
void InstallScanPageLinks(CMainFrame* frame);
