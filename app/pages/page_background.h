// The background every page paints: the page bitmap stretched over the page and the header strip along its
// top (a left piece, the stretched fill, the right piece).
#pragma once

#include "platform/classlib/crect.h"

class CDC;

void PaintPageBackground(CDC* pDC, const CRect& client, unsigned headerLeftBitmap);
