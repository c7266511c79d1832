#include "ui/html/html_table.h"

#include <algorithm>
#include <functional>
#include <string>

#include "ui/html/html_layout.h"
#include "ui/html/html_markup.h"
#include "ui/html/html_stylesheet.h"

namespace html {

namespace {

constexpr int kMaxSpan = 64;
constexpr size_t kMinBackgroundLength = 6;  // "file:x"

struct RawCell {
  HtmlToken tag;
  size_t begin = 0;
  size_t end = 0;
};
struct RawRow {
  HtmlToken tag;
  std::vector<RawCell> cells;
};

struct Cell {
  HtmlStyle style;
  std::u16string_view content;
  int row = 0;
  int column = 0;
  int rowSpan = 1;
  int columnSpan = 1;
  HtmlLayout::Box natural;   // the cell with its padding and border
  int contentHeight = 0;
};

// One declaration through the style-sheet reader, so that tables and style sheets read values alike.
void ApplyAsDeclaration(std::u16string_view property, std::u16string_view value, HtmlStyle& style,
                        const HtmlStyleContext& context) {
  std::u16string declaration(property);
  declaration += u':';
  declaration += value.substr(0, value.find(u';'));
  ApplyDeclarations(declaration, style, context);
}

// Rows from each tr, cells from each td, skipping nested tables; the text must be the table's body.
std::vector<RawRow> ReadRows(std::u16string_view body) {
  std::vector<RawRow> rows;
  RawCell* open = nullptr;
  int depth = 0;
  HtmlTokenizer tokenizer(body);
  HtmlToken token;
  size_t start = 0;
  auto closeCell = [&](size_t at) {
    if (open) open->end = at;
    open = nullptr;
  };
  while (start = tokenizer.Position(), tokenizer.Next(token)) {
    if (token.kind != HtmlToken::Kind::kTag) continue;
    if (token.text == u"table") {
      depth += token.closing ? -1 : 1;
      if (depth < 0) break;  // the table's own end
      continue;
    }
    if (depth > 0) continue;
    if (token.text == u"tr") {
      closeCell(start);
      if (!token.closing && rows.size() < static_cast<size_t>(kMaxTableRows)) rows.push_back({token, {}});
    } else if (token.text == u"td") {
      closeCell(start);
      if (token.closing) continue;
      if (rows.empty()) {
        if (rows.size() >= static_cast<size_t>(kMaxTableRows)) continue;
        rows.push_back({});
      }
      rows.back().cells.push_back({token, tokenizer.Position(), body.size()});
      open = &rows.back().cells.back();
    }
  }
  closeCell(start);
  return rows;
}

// A table starts from the flow's font and colours with the box fields of the default style.
HtmlStyle TableStyle(const HtmlStyle& outer) {
  HtmlStyle style = outer;
  HtmlStyle defaults;
  style.name = u"table";
  style.backgroundColour = defaults.backgroundColour;
  style.fillColour2 = defaults.fillColour2;
  style.fillColour3 = defaults.fillColour3;
  style.fillKind = defaults.fillKind;
  style.backgroundImage.clear();
  style.frameLightColour = defaults.frameLightColour;
  style.frameDarkColour = defaults.frameDarkColour;
  style.borderStyle = defaults.borderStyle;
  style.borderWidth = defaults.borderWidth;
  style.width = style.height = 0;
  style.margin = defaults.margin;
  style.padding = defaults.padding;
  style.linkKind = kHtmlLinkNone;
  style.linkTarget.clear();
  return style;
}

int SpanOf(const HtmlToken& tag, std::u16string_view name, int limit) {
  const std::u16string* value = tag.Attribute(name);
  int span = value ? ReadStyleNumber(*value) : 1;
  return std::clamp(span, 1, std::max(1, std::min(limit, kMaxSpan)));
}

// The start of each track: after the frame and the spacing, each track followed by the spacing and 1.
std::vector<int> TrackStarts(int origin, const std::vector<int>& tracks, int side, int spacing) {
  std::vector<int> starts;
  int at = AddClamped(AddClamped(origin, side), spacing);
  for (int size : tracks) {
    starts.push_back(at);
    at = AddClamped(at, AddClamped(size, spacing + 1));
  }
  return starts;
}

int Extent(const std::vector<int>& tracks, int side, int spacing) {
  int total = AddClamped(2 * side, spacing - 1);
  for (int size : tracks) total = AddClamped(total, AddClamped(size, spacing + 1));
  return total;
}

void ApplyAttributes(const HtmlToken& tag, HtmlStyle& style, HtmlMetrics& metrics,
                     const HtmlLayout& layout) {
  StyleUnits units(metrics, style);
  const HtmlLayoutSettings& settings = layout.Settings();
  HtmlStyleContext context{layout.Colours(), units, settings.coloursEnabled, settings.disabledColour};
  for (const HtmlAttribute& attribute : tag.attributes)
    ApplyTableAttribute(attribute.name, attribute.value, style, context);
}

}  // namespace

bool ShrinkFree(std::vector<int>& tracks, const std::vector<bool>& fixed, int excess) {
  std::vector<int64_t> widths;
  for (size_t i = 0; i < tracks.size(); ++i)
    if (!fixed[i] && tracks[i] > 0) widths.push_back(tracks[i]);
  if (widths.empty()) return false;
  std::sort(widths.begin(), widths.end(), std::greater<int64_t>());
  // The widest k columns lowered to one level take the excess once they hold that much above the next one.
  int64_t level = 1;
  int64_t widest = 0;
  for (size_t k = 1; k <= widths.size(); ++k) {
    widest += widths[k - 1];
    const int64_t next = k < widths.size() ? std::max<int64_t>(widths[k], 1) : 1;
    if (widest - static_cast<int64_t>(k) * next >= excess) {
      level = std::max<int64_t>((widest - excess) / static_cast<int64_t>(k), 1);
      break;
    }
  }
  for (size_t i = 0; i < tracks.size(); ++i)
    if (!fixed[i]) tracks[i] = static_cast<int>(std::clamp<int64_t>(tracks[i], 1, level));
  return true;
}

int BorderSide(const HtmlStyle& style) {
  if (style.borderStyle == draw::kFrameNone || style.borderWidth <= 0) return 0;
  int width = std::min(style.borderWidth, kMaxHtmlSize);
  return style.borderStyle == draw::kFrameDouble ? kDoubleBorderSide * width : width;
}

void ApplyTableAttribute(std::u16string_view name, std::u16string_view value, HtmlStyle& style,
                         const HtmlStyleContext& context) {
  if (name == u"cellpadding") ApplyAsDeclaration(u"padding", value, style, context);
  else if (name == u"cellspacing") ApplyAsDeclaration(u"margin", value, style, context);
  else if (name == u"border") ApplyAsDeclaration(u"border-width", value, style, context);
  else if (name == u"borderstyle") ApplyAsDeclaration(u"border-style", value, style, context);
  else if (name == u"bordercolor") ApplyAsDeclaration(u"border-color", value, style, context);
  else if (name == u"bordercolorlight") style.frameLightColour = context.Colour(value, style.frameLightColour);
  else if (name == u"bordercolordark") style.frameDarkColour = context.Colour(value, style.frameDarkColour);
  else if (name == u"bgmidcolor") style.fillColour2 = context.Colour(value, style.fillColour2);
  else if (name == u"bgendcolor") style.fillColour3 = context.Colour(value, style.fillColour3);
  else if (name == u"bgeffect") style.fillKind = ReadFill(value, style.fillKind, context.units);
  else if (name == u"width") style.width = std::clamp(context.Size(value, style.width), 0, kMaxHtmlSize);
  else if (name == u"height") style.height = std::clamp(context.Size(value, style.height), 0, kMaxHtmlSize);
  else if (name == u"background" && value.size() >= kMinBackgroundLength) style.backgroundImage = value;
  else if (name == u"bgcolor") {
    if (!context.coloursEnabled) return;  // without colours backgrounds stay transparent
    style.backgroundColour = context.Colour(value, style.backgroundColour);
    if (style.fillKind < 0) style.fillKind = draw::kFillSolid;
  } else if (name == u"align") {
    ApplyAsDeclaration(u"text-align", value == u"justify" ? std::u16string_view() : value, style, context);
    if (value == u"justify") style.textAlign = kHtmlAlignJustify;
  } else if (name == u"valign") {
    ApplyAsDeclaration(u"vertical-align", value, style, context);
  }
}

std::vector<int> SizeTracks(int count, const std::vector<TrackClaim>& claims, int gap, bool remainderToLast,
                            const std::vector<bool>* fixed) {
  std::vector<int> tracks(std::max(count, 0), 0);
  int longest = 0;
  for (const TrackClaim& claim : claims) longest = std::max(longest, claim.span);
  for (int span = 1; span <= longest; ++span) {
    for (const TrackClaim& claim : claims) {
      if (claim.span != span || claim.first < 0 || claim.first + span > count) continue;
      if (span == 1) {
        tracks[claim.first] = std::max(tracks[claim.first], claim.size);
        continue;
      }
      int together = (span - 1) * gap;
      for (int i = 0; i < span; ++i) together = AddClamped(together, tracks[claim.first + i]);
      int missing = claim.size - together;
      if (missing <= 0) continue;
      // The tracks that take a share: every one, or only those not fixed when the run has any.
      std::vector<int> sharing;
      for (int i = 0; i < span; ++i)
        if (fixed == nullptr || !(*fixed)[claim.first + i]) sharing.push_back(claim.first + i);
      if (sharing.empty())
        for (int i = 0; i < span; ++i) sharing.push_back(claim.first + i);
      const int parts = static_cast<int>(sharing.size());
      for (int track : sharing) tracks[track] = AddClamped(tracks[track], missing / parts);
      int target = remainderToLast ? sharing.back() : sharing.front();
      tracks[target] = AddClamped(tracks[target], missing % parts);
    }
  }
  return tracks;
}

void ShareExtra(std::vector<int>& tracks, const std::vector<bool>& fixed, int extra) {
  int remaining = 0;
  for (size_t i = 0; i < tracks.size(); ++i) remaining += fixed[i] ? 0 : 1;
  for (size_t i = 0; i < tracks.size() && remaining > 0; ++i) {
    if (fixed[i]) continue;
    int share = extra / remaining;
    tracks[i] = AddClamped(tracks[i], share);
    extra -= share;
    --remaining;
  }
}

HtmlLayout::Box HtmlLayout::LayoutTable(std::u16string_view text, const HtmlStyle& outer, int left, int top,
                                        int width, bool wrap, bool emit, int depth) {
  HtmlTokenizer opening(text);
  HtmlToken tableTag;
  opening.Next(tableTag);
  HtmlStyle table = TableStyle(outer);
  ApplyAttributes(tableTag, table, metrics_, *this);
  std::u16string_view body = text.substr(opening.Position());
  std::vector<RawRow> rows = ReadRows(body);

  // The grid: each cell takes the first free column of its row.
  std::vector<Cell> cells;
  std::vector<std::vector<bool>> taken(rows.size(), std::vector<bool>(kMaxTableColumns, false));
  int columns = 0;
  for (size_t r = 0; r < rows.size(); ++r) {
    HtmlStyle rowStyle = table;
    rowStyle.fillKind = kHtmlNoFill;
    rowStyle.backgroundImage.clear();
    rowStyle.width = rowStyle.height = 0;
    rowStyle.textAlign = outer.textAlign;
    ApplyAttributes(rows[r].tag, rowStyle, metrics_, *this);
    int column = 0;
    for (const RawCell& raw : rows[r].cells) {
      while (column < kMaxTableColumns && taken[r][column]) ++column;
      if (column >= kMaxTableColumns) break;
      Cell cell;
      cell.style = rowStyle;
      ApplyAttributes(raw.tag, cell.style, metrics_, *this);
      cell.content = body.substr(raw.begin, raw.end - raw.begin);
      cell.row = static_cast<int>(r);
      cell.column = column;
      cell.columnSpan = SpanOf(raw.tag, u"colspan", kMaxTableColumns - column);
      cell.rowSpan = SpanOf(raw.tag, u"rowspan", static_cast<int>(rows.size() - r));
      for (int i = 0; i < cell.rowSpan; ++i)
        for (int k = 0; k < cell.columnSpan; ++k) taken[r + i][column + k] = true;
      column += cell.columnSpan;
      columns = std::max(columns, column);
      cells.push_back(std::move(cell));
    }
  }
  if (cells.empty()) return {};

  // Each cell's own size: its content measured (wrapped at its width when it has one), padding and border.
  auto cellInset = [](const Cell& cell) { return 2 * AddClamped(BorderSide(cell.style), std::max(cell.style.padding, 0)); };
  auto measureCell = [&](Cell& cell, int contentWidth, bool wrapContent) {
    Box content = MeasureCellContent(cell.content, cell.style, contentWidth, wrapContent, depth);
    int inset = cellInset(cell);
    cell.contentHeight = content.height;
    cell.natural.width = std::max(AddClamped(content.width, inset), cell.style.width);
    cell.natural.height = std::max(AddClamped(content.height, inset), cell.style.height);
  };
  std::vector<TrackClaim> widthClaims;
  std::vector<bool> fixed(columns, false);
  for (Cell& cell : cells) {
    bool given = cell.style.width > 0;
    measureCell(cell, given ? std::max(cell.style.width - cellInset(cell), 1) : 0, wrap && given);
    widthClaims.push_back({cell.column, cell.columnSpan, cell.natural.width});
    if (given)
      for (int k = 0; k < cell.columnSpan; ++k) fixed[cell.column + k] = true;
  }
  int spacing = std::clamp(table.margin, 0, kMaxHtmlSize);
  int side = BorderSide(table);
  std::vector<int> widths = SizeTracks(columns, widthClaims, spacing + 1, true);
  int target = table.width > 0 ? table.width : width;
  int tableWidth = Extent(widths, side, spacing);
  // A table wider than the room it is given, when lines may wrap, narrows the columns without a width
  // and wraps their cells in them: text that runs past the room would be cut off where it is drawn. A cell
  // spanning free columns and columns with a width then widens the free ones alone, since it wraps in
  // them: were the fixed ones widened too, no narrowing of the others could bring the table into its room.
  // Cells without a width of their own in columns that have one wrap at the width given there: measured
  // on one line they would widen those columns past anything the free ones could give up.
  if (wrap && target > 0 && tableWidth > target) {
    std::vector<TrackClaim> givenClaims;
    for (size_t i = 0; i < cells.size(); ++i)
      if (cells[i].style.width > 0) givenClaims.push_back(widthClaims[i]);
    const std::vector<int> given = SizeTracks(columns, givenClaims, spacing + 1, true);
    for (size_t i = 0; i < cells.size(); ++i) {
      Cell& cell = cells[i];
      bool allFixed = cell.style.width <= 0;
      int span = (cell.columnSpan - 1) * (spacing + 1);
      for (int k = 0; k < cell.columnSpan && allFixed; ++k) {
        allFixed = fixed[cell.column + k];
        span = AddClamped(span, given[cell.column + k]);
      }
      if (!allFixed) continue;
      measureCell(cell, std::max(span - cellInset(cell), 1), true);
      widthClaims[i].size = cell.natural.width;
    }
    widths = SizeTracks(columns, widthClaims, spacing + 1, true, &fixed);
    tableWidth = Extent(widths, side, spacing);
  }
  if (wrap && target > 0 && tableWidth > target && ShrinkFree(widths, fixed, tableWidth - target)) {
    for (Cell& cell : cells) {
      bool free = false;
      int span = (cell.columnSpan - 1) * (spacing + 1);
      for (int k = 0; k < cell.columnSpan; ++k) {
        free = free || !fixed[cell.column + k];
        span = AddClamped(span, widths[cell.column + k]);
      }
      if (free) measureCell(cell, std::max(span - cellInset(cell), 1), true);
    }
  } else if (tableWidth < target) {
    ShareExtra(widths, fixed, target - tableWidth);
  }
  tableWidth = Extent(widths, side, spacing);
  std::vector<TrackClaim> heightClaims;
  for (const Cell& cell : cells) heightClaims.push_back({cell.row, cell.rowSpan, cell.natural.height});
  std::vector<int> heights = SizeTracks(static_cast<int>(rows.size()), heightClaims, spacing + 1, false);
  int tableHeight = Extent(heights, side, spacing);
  if (tableHeight < table.height) ShareExtra(heights, std::vector<bool>(heights.size(), false), table.height - tableHeight);
  tableHeight = Extent(heights, side, spacing);

  int x = left;
  if (tableWidth < width && table.textAlign == kHtmlAlignCenter) x = AddClamped(left, (width - tableWidth) / 2);
  if (tableWidth < width && table.textAlign == kHtmlAlignRight) x = AddClamped(left, width - tableWidth);
  std::vector<int> xs = TrackStarts(x, widths, side, spacing);
  std::vector<int> ys = TrackStarts(top, heights, side, spacing);

  auto emitBox = [this](const HtmlStyle& style, const draw::DrawRect& rect, bool backgroundImage) {
    HtmlPaintItem item;
    item.rect = rect;
    item.style = style;
    if (!settings_.coloursEnabled) item.style.frameLightColour = item.style.frameDarkColour = settings_.disabledColour;
    if (style.fillKind >= 0) {
      item.kind = HtmlPaintItem::Kind::kFill;
      out_.items.push_back(item);
    } else if (backgroundImage && !style.backgroundImage.empty()) {
      item.kind = HtmlPaintItem::Kind::kBackgroundImage;
      out_.items.push_back(item);
    }
    if (BorderSide(style) > 0) {
      item.kind = HtmlPaintItem::Kind::kFrame;
      out_.items.push_back(item);
    }
  };
  // A table that is only measured has its size now: its cells are laid out only where they are drawn.
  if (!emit) return {tableWidth, tableHeight};
  emitBox(table, {x, top, AddClamped(x, tableWidth), AddClamped(top, tableHeight)}, true);
  for (const Cell& cell : cells) {
    int lastColumn = cell.column + cell.columnSpan - 1;
    int lastRow = cell.row + cell.rowSpan - 1;
    draw::DrawRect rect{xs[cell.column], ys[cell.row], AddClamped(xs[lastColumn], widths[lastColumn]),
                        AddClamped(ys[lastRow], heights[lastRow])};
    emitBox(cell.style, rect, false);
    int inset = AddClamped(BorderSide(cell.style), std::max(cell.style.padding, 0));
    int innerHeight = rect.Height() - 2 * inset;
    int offset = 0;
    if (cell.style.verticalAlign == kHtmlVAlignCenter) offset = (innerHeight - cell.contentHeight) / 2;
    if (cell.style.verticalAlign == kHtmlVAlignBottom) offset = innerHeight - cell.contentHeight;
    LayoutBlock(cell.content, cell.style, AddClamped(rect.left, inset), AddClamped(AddClamped(rect.top, inset), std::max(offset, 0)),
                std::max(rect.Width() - 2 * inset, 0), wrap, emit, depth);
  }
  return {tableWidth, tableHeight};
}

}  // namespace html
