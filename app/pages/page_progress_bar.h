// The look every page gives its progress bar: the percentage written white over the bar and dark blue over
// the rest, the bar a ramp from blue to a darker blue.
#pragma once

class GradientProgressCtrl;

void StylePageProgressBar(GradientProgressCtrl& bar);
