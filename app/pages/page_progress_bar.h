// The look every page gives its progress bar: the percentage written white over the bar and dark blue over
// the rest, the bar a ramp from blue to a darker blue.
#pragma once

#include <windows.h>

class GradientProgressCtrl;

// The dark blue of the captions on the pages' panels, which their progress bars' captions share.
constexpr COLORREF kPageCaptionColour = RGB(20, 42, 82);

void StylePageProgressBar(GradientProgressCtrl& bar);
