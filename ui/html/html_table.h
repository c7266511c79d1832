// Tables: their attributes, the grid of cells with row and column spans, column widths and row heights.
#pragma once

#include <string_view>
#include <vector>

#include "ui/html/html_style.h"
#include "ui/html/html_style_values.h"

namespace html {

// The most rows and columns of a table, and the longest span: larger values are cut to these.
constexpr int kMaxTableRows = 1024;
constexpr int kMaxTableColumns = 256;

// One attribute of table, tr or td (cellpadding, cellspacing, background, border, borderstyle, bordercolor,
// bordercolorlight, bordercolordark, bgcolor, bgmidcolor, bgendcolor, bgeffect, align, valign, width,
// height); rowspan and colspan are read by the grid. The name is expected in lower case.
void ApplyTableAttribute(std::u16string_view name, std::u16string_view value, HtmlStyle& style,
                         const HtmlStyleContext& context);

// A cell's claim on a run of tracks (columns or rows).
struct TrackClaim {
  int first = 0;
  int span = 1;
  int size = 0;
};

// Sizes the tracks from the claims, taking the claims by span 1, 2, 3 ... in turn: a single track grows to
// its claim; a run of tracks (with the gaps between them) narrower than its claim gets the missing size
// divided among them, the remainder going to the last track (columns) or the first (rows). With fixed
// tracks given, a run that holds any track not fixed divides what it misses among those alone.
std::vector<int> SizeTracks(int count, const std::vector<TrackClaim>& claims, int gap, bool remainderToLast,
                            const std::vector<bool>* fixed = nullptr);

// Shares the extra size among the tracks not marked fixed, in order, each taking (what remains) / (the
// tracks that remain).
void ShareExtra(std::vector<int>& tracks, const std::vector<bool>& fixed, int extra);

// Narrows the tracks not marked fixed by excess in all, the widest first: they come down to one level,
// and narrower ones keep their size until the level reaches them (a short column keeps its words while a
// long line wraps); never below 1. False when no track may narrow.
bool ShrinkFree(std::vector<int>& tracks, const std::vector<bool>& fixed, int excess);

// The border's share of one side of a frame: the width, three times it for a double border.
int BorderSide(const HtmlStyle& style);

}  // namespace html
