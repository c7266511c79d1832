// Paints a bitmap of the resources at its natural size in the middle of a window's client area.
#pragma once

#include <windows.h>

class CDC;
class CWnd;

// false when the bitmap is not in the resources.
bool DrawCentredBitmap(CDC* pDC, CWnd* pWnd, UINT nIDBitmap);
