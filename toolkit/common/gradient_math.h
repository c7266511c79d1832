// The geometry of the toolkit's gradient fills: the colour of one band, a gradient cut by a clip
// rectangle, and a gradient split at its middle colour.
#pragma once

#include <vector>

#include "platform/classlib/crect.h"
#include "toolkit/common/color_math.h"

struct TKGradientPart {
  CRect rect;
  tkcolor::Color from;
  tkcolor::Color to;
};

// The colour of the band at pos of a gradient starting at start over length (at least 1) pixels.
tkcolor::Color GradientBandColor(tkcolor::Color from, tkcolor::Color to, int pos, int start, int length);
// The part of the gradient inside the clip: its rectangle and its end colours as the full gradient has
// them there. False when nothing of it lies in the clip.
bool ClipGradient(const CRect& rect, tkcolor::Color from, tkcolor::Color to, bool horizontal, const CRect& clip,
                  TKGradientPart* part);
// A two-colour gradient with its middle colour at the factor: one part at 0.5, else light to middle
// and middle to dark, split at the rectangle's middle.
std::vector<TKGradientPart> SplitGradient(const CRect& rect, tkcolor::Color light, tkcolor::Color dark,
                                          float factor, bool horizontal);
