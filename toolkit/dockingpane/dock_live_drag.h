// The live drag of the docking splitters and of a sliding window's edge: the window holds the mouse and
// every move is handed on at once (screen coordinates), so the panes follow the pointer. Pending paints
// are flushed first; Esc or the button's release ends it, keeping what the moves already did; a
// WM_QUIT is posted again for the outer loop.
#pragma once

#include <windows.h>

#include <functional>

void TKPDockTrackLive(HWND hWnd, const std::function<void(POINT screen)>& onMove);
