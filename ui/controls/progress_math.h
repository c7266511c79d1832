// The arithmetic of the two progress bars: how far the bar reaches, how the gradient is cut into
// segments and colour steps, and the text written across the bar. Every division by the range guards
// equal bounds (an empty bar), so a control never divides by zero whatever it is sent.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/classlib/cstring.h"

namespace progress {

using Colour = uint32_t;  // 0x00BBGGRR

// A run of columns [left, right).
struct Span {
  int left = 0;
  int right = 0;
  bool operator==(const Span& other) const { return left == other.left && right == other.right; }
};

// Part index of count equal parts of [left, right): left + trunc(i × width / count) up to the next one;
// the last part ends exactly at right.
Span EqualPart(int left, int right, int index, int count);

// The done length of a bar of length pixels: trunc((position − lower) × length / (upper − lower)).
// 0 with equal bounds or a position outside the range (either order of the bounds).
int BarLength(int lower, int upper, int position, int length);

// trunc((position − lower) × 100 / (upper − lower)); 0 with equal bounds.
int Percent(int lower, int upper, int position);

// The percent text of the progress dialog: Percent, where any result but exactly 100 is taken modulo 100
// (a position past the range wraps rather than showing more than 100), followed by '%'.
CString DialogPercentText(int lower, int upper, int position);

// trunc((position − lower) × length / (upper − lower)) in integers, so that 37 of 100 is exactly 37 %
// (a floating-point fraction of 0.37 is a shade below it); 0 while upper <= lower.
int Share(int lower, int upper, int position, int length);

// One solid band of a gradient.
struct Band {
  Span span;
  Colour colour = 0;
  bool operator==(const Band& other) const { return span == other.span && colour == other.colour; }
};

// The number of colour steps from one colour to another over a segment: the largest channel
// difference, at most the width, at least 1; 1 on a device of fewer than 8 bits without a palette.
int StepCount(Colour from, Colour to, int width, bool lowColour);

// Step index of steps from one colour to another: start + index × difference / steps per channel.
Colour StepColour(Colour from, Colour to, int index, int steps);

// The bands of one segment laid over [segment.left, segment.right), clipped to end before doneRight.
std::vector<Band> SegmentBands(Span segment, int doneRight, Colour from, Colour to, bool lowColour);

// The segments of colourCount − 1 equal ones over [left, right) that reach into the done part (up to
// doneRight), whole: the ramp is laid over the full width and clipped later.
std::vector<Span> DoneSegments(int colourCount, Span inner, int doneRight);

// The whole gradient: colours − 1 equal segments over [left, right) (the ramp spans the full width),
// painted up to doneRight. A single colour fills solid; no colour paints nothing.
std::vector<Band> GradientBands(const std::vector<Colour>& colours, Span inner, int doneRight, bool lowColour);

// The text across the bar: each integer conversion of the format (%d, %i or %u with flags and width)
// shows the value, "%%" a percent sign; any other conversion is shown as written, so a window text
// can never make the formatter read an argument that is not there.
CString BarText(const CString& format, int value);

}  // namespace progress
