#include "preview/html/html_layout_pass.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "preview/html/html_layout_table.h"

namespace htmlview {
namespace {

// The floats on one side: a float whose bottom the line has passed waits while another on its side has
// not ended, so all the floats of a side end together, when the line passes the lowest of them. Kept as
// one record a side, a page of thousands of floats costs no more at each line than a page of one.
struct FloatSide {
  int side = 0;
  long long left = 0, right = 0;  // the indents they take, added up
  int bottom = INT_MIN;           // the lowest bottom
};

HtmlElement* At(HtmlElementList& list, size_t i) { return i < list.size() ? list[i].get() : nullptr; }

bool Is(const HtmlElement* e, int kind) { return e && e->kind == kind; }

// A float's own box: a container the parse pass marked with a side.
bool IsFloatBox(const HtmlElement* e) { return Is(e, kContainer) && e->Container().cellTag >= 0; }

int Clamp(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN / 4, INT_MAX / 4)); }

// The state of one LayoutRange call.
struct Line {
  HtmlLayoutPass* pass = nullptr;
  HtmlRect rect;
  int x = 0, y = 0;
  size_t lineStart = 0;
  int rowOffset = 0;
  // The sized height of the table row being placed: a row whose cells all go on into later rows still
  // takes its own height before the next row starts.
  int rowHeight = 0;
  std::vector<FloatSide> floats;
  std::unique_ptr<TablePlan> table;
  HtmlElement* lastFrame = nullptr;
};

}  // namespace

void ScaleToImage(int imageWidth, int imageHeight, int& width, int& height) {
  if (width && !height && imageWidth) height = Clamp(static_cast<long long>(width) * imageHeight / imageWidth);
  if (!width && height && imageHeight) width = Clamp(static_cast<long long>(height) * imageWidth / imageHeight);
  if (!width) width = imageWidth;
  if (!height) height = imageHeight;
}

void HtmlLayoutPass::MoveChildren(HtmlElement& element, int dx, int dy) {
  Spend(1);
  if (element.children.empty() || (dx == 0 && dy == 0)) return;
  HtmlContainerFields& fields = element.MutableContainer();
  fields.moveX = Clamp(static_cast<long long>(fields.moveX) + dx);
  fields.moveY = Clamp(static_cast<long long>(fields.moveY) + dy);
}

void HtmlLayoutPass::LayoutChildren(HtmlRect rect, HtmlElement& container, int depth) {
  if (container.container) container.container->moveX = container.container->moveY = 0;
  LayoutRange(rect, container.children, depth);
}

void HtmlLayoutPass::SettleMoves(HtmlElementList& list) {
  // Each container with children, with what its ancestors' moves add to its own.
  struct Owed {
    HtmlElement* e;
    long long dx, dy;
  };
  std::vector<Owed> pending;
  for (auto& e : list)
    if (e && !e->children.empty()) pending.push_back({e.get(), 0, 0});
  while (!pending.empty()) {
    Owed owed = pending.back();
    pending.pop_back();
    if (HtmlContainerFields* fields = owed.e->container.get()) {
      owed.dx = Clamp(owed.dx + fields->moveX);
      owed.dy = Clamp(owed.dy + fields->moveY);
      fields->moveX = fields->moveY = 0;
    }
    for (auto& child : owed.e->children) {
      if (!child) continue;
      child->x = Clamp(child->x + owed.dx);
      child->y = Clamp(child->y + owed.dy);
      if (!child->children.empty()) pending.push_back({child.get(), owed.dx, owed.dy});
    }
  }
}

const ContentExtent* HtmlLayoutPass::Measured(const HtmlElement& cell, int width) const {
  const auto found = measured_.find(&cell);
  if (found == measured_.end()) return nullptr;
  for (const auto& kept : found->second)
    if (kept.first == width) return &kept.second;
  return nullptr;
}

void HtmlLayoutPass::KeepMeasure(const HtmlElement& cell, int width, const ContentExtent& extent) {
  if (!keepMeasures) return;
  measured_[&cell].emplace_back(width, extent);
}

size_t CountElements(const HtmlElementList& list) {
  size_t count = 0;
  std::vector<const HtmlElementList*> pending{&list};
  while (!pending.empty()) {
    const HtmlElementList* l = pending.back();
    pending.pop_back();
    count += l->size();
    for (const auto& e : *l)
      if (e && !e->children.empty()) pending.push_back(&e->children);
  }
  return count;
}

void HtmlLayoutPass::Layout(HtmlElementList& list, HtmlRect& rect) {
  simple_ = false;
  work_ = 0;
  measuring_ = 0;
  measured_.clear();
  budget_ = std::min(workFloor + kLayoutWorkPerElement * static_cast<long long>(CountElements(list)), workCap);
  LayoutRange(rect, list, 0);
  if (budget_ <= 0) {
    simple_ = true;
    measuring_ = 0;
    measured_.clear();
    LayoutRange(rect, list, 0);
  }
  measured_.clear();
  SettleMoves(list);
}

namespace {

// Ends the line that runs from line.lineStart to i - 1 (i may be the list's end).
void EndLine(Line& line, HtmlElementList& list, size_t i) {
  const size_t n = list.size();
  HtmlElement* e = At(list, i);
  const HtmlRect& r = line.rect;
  const bool tableNext = Is(At(list, i + 1), kContainer);
  if (Is(e, kRule) && e->height != 0 && !tableNext) e->width = r.right - r.left;
  int lineHeight = 0;
  long long lineWidth = 0;
  for (size_t j = line.lineStart; j < i && j < n; ++j) {
    const HtmlElement* c = list[j].get();
    if (!c || c->kind == kRule) continue;
    const int h = (c->kind == kContainer && c->Container().cell[3] > 1) ? 2 * c->Container().cell[9] : c->height;
    lineHeight = std::max(lineHeight, h);
    if (c->align != 0) lineWidth += c->width;
  }
  lineHeight = std::max(lineHeight, line.rowHeight);
  line.rowHeight = 0;
  const HtmlElement* previous = i > 0 ? At(list, i - 1) : nullptr;
  if (Is(previous, kContainer) && line.lastFrame) lineWidth = line.lastFrame->width;
  // A closing tag may leave a trailing space with the outer alignment; it was never counted then.
  if (previous && IsWhiteSpace(*previous) && previous->align != 0) lineWidth -= previous->width;
  const HtmlElement* first = At(list, line.lineStart);
  const int firstAlign = first ? first->align : 0;
  // A line wider than its room, centred or aligned right, keeps its left edge: moved left, its start would
  // lie past the pane's edge, where no scrolling reaches.
  long long offset = 0;
  if (firstAlign == 2) offset = std::max<long long>(0, (r.right - lineWidth - r.left) / 2);
  if (firstAlign == 1) offset = std::max<long long>(0, r.right - lineWidth - r.left);
  for (size_t j = line.lineStart; j <= i && j < n; ++j) {
    HtmlElement* c = list[j].get();
    if (!c) continue;
    const bool frameBreak = c->kind == kRule && Is(At(list, j + 1), kContainer);
    if (!tableNext && c->kind != kContainer && !frameBreak) c->y += lineHeight - c->height;
    if (c->width < r.right && (c->kind != kRule || frameBreak)) {
      c->x = Clamp(c->x + offset);
      if (c->kind == kContainer) line.pass->MoveChildren(*c, Clamp(offset), 0);
    }
  }
  // Justify: spread what is missing over the gaps, one pixel per word in turn. A line ended by a break or
  // by the end of the list is the last of its paragraph and keeps its spacing.
  const long long missing = static_cast<long long>(r.right - r.left) - lineWidth;
  if (r.right != 0 && firstAlign == 3 && i < n && !Is(e, kRule) && i - line.lineStart > 2 && missing > 0) {
    std::vector<size_t> movers;
    for (size_t j = line.lineStart + 2; j < i && j < n; ++j)
      if (list[j] && !IsWhiteSpace(*list[j])) movers.push_back(j);
    if (!movers.empty()) {
      const long long k = static_cast<long long>(movers.size());
      long long shift = 0;
      size_t next = 0;
      for (size_t j = movers.front(); j <= i && j < n; ++j) {
        if (next < movers.size() && movers[next] == j) {
          shift += missing / k + (static_cast<long long>(next) < missing % k ? 1 : 0);
          ++next;
        }
        if (list[j]) {
          list[j]->x = Clamp(list[j]->x + shift);
          if (list[j]->kind == kContainer) line.pass->MoveChildren(*list[j], Clamp(shift), 0);
        }
      }
    }
  }
  line.lineStart = i;
  if (Is(e, kRule)) {
    const HtmlElement* after = At(list, i + 1);
    e->x = 0;
    e->y = line.y + lineHeight - (Is(after, kTextRun) ? after->height / 2 : 0);
  }
  line.y = Clamp(static_cast<long long>(line.y) + lineHeight);
}

// Gives back the indents of the floats that end here. Not within a table: its rows keep the left edge its
// first row had.
void EndFloats(Line& line, HtmlElementList& list, size_t i) {
  if (line.floats.empty() || line.table) return;
  if ((i >= 1 && IsFloatBox(At(list, i - 1))) || (i >= 2 && IsFloatBox(At(list, i - 2)))) return;
  const HtmlElement* e = At(list, i);
  const bool clearing = Is(e, kRule) && e->ruleTag == 1;
  const bool atEnd = i >= list.size();
  size_t kept = 0;
  for (const FloatSide& f : line.floats) {
    if (!atEnd && !clearing && f.bottom > line.y) {
      line.floats[kept++] = f;
      continue;
    }
    line.rect.left = Clamp(line.rect.left - f.left);
    line.rect.right = Clamp(line.rect.right + f.right);
    if (clearing) line.y = std::max(line.y, f.bottom);
  }
  line.floats.resize(kept);
}

void EndAllFloats(Line& line) {
  for (const FloatSide& f : line.floats) {
    line.rect.left = Clamp(line.rect.left - f.left);
    line.rect.right = Clamp(line.rect.right + f.right);
    line.y = std::max(line.y, f.bottom);
  }
  line.floats.clear();
}

// A break after a break after a float's box: the float starts at its frame's top.
void RegisterFloat(Line& line, HtmlElementList& list, size_t i) {
  if (i < 2 || !Is(At(list, i), kRule) || !Is(At(list, i - 1), kRule) || !IsFloatBox(At(list, i - 2))) return;
  const int side = list[i - 2]->Container().cellTag;
  HtmlElement* frame = nullptr;
  for (size_t j = i - 2; j > 0; --j) {
    HtmlElement* b = At(list, j - 1);
    const HtmlElement* c = At(list, j);
    if (Is(b, kRule) && Is(c, kContainer) && c->Container().cell[0] == 0 && c->Container().cell[1] == 0) {
      frame = b;
      break;
    }
  }
  if (!frame) return;
  auto group = std::find_if(line.floats.begin(), line.floats.end(), [&](const FloatSide& f) { return f.side == side; });
  if (group == line.floats.end()) group = line.floats.insert(line.floats.end(), FloatSide{side});
  const int left = side == 0 ? frame->width : 0, right = side == 1 ? frame->width : 0;
  group->left += left;
  group->right += right;
  group->bottom = std::max(group->bottom, Clamp(static_cast<long long>(frame->y) + frame->height));
  line.y = frame->y;
  line.rect.left = Clamp(static_cast<long long>(line.rect.left) + left);
  line.rect.right = Clamp(static_cast<long long>(line.rect.right) - right);
  line.x = line.rect.left;
}

}  // namespace

void HtmlLayoutPass::LayoutRange(HtmlRect rect, HtmlElementList& list, int depth) {
  // Once the budget is spent, the layouts in progress end at once; the simple layout follows.
  if (depth >= kMaxElementDepth || (!simple_ && !BudgetLeft())) return;
  Line line;
  line.pass = this;
  line.rect = rect;
  line.x = rect.left;
  line.y = rect.top;
  const size_t n = list.size();
  for (size_t i = 0; i <= n; ++i) {
    if (!Spend(1) && !simple_) return;
    HtmlElement* e = At(list, i);
    if (i < n && !e) continue;
    if (Is(e, kImage)) {
      if (doc_.callbacks) doc_.callbacks->OnParseProgress(1, e->imageIndex, doc_.images.Count());
      int w = 0, h = 0;
      if (sizes_ && sizes_->NaturalSize(e->imageIndex, doc_.option, w, h)) ScaleToImage(w, h, e->width, e->height);
    }
    if (Is(e, kRule) && e->width != 0) e->width = 1;
    if (Is(e, kContainer) && i + 1 < n && !line.table) {
      // Only a break carries a table's frame: a cell that ended the table before keeps its own size.
      HtmlElement* frame = i > 0 && Is(At(list, i - 1), kRule) ? At(list, i - 1) : nullptr;
      line.table = std::make_unique<TablePlan>(SizeTable(*this, list, i, frame, line.rect, depth));
      // A table too wide for the room the floats leave goes below them, sized to the whole width.
      if (frame && !line.floats.empty() && frame->width > line.rect.right - line.rect.left) {
        EndAllFloats(line);
        line.x = line.rect.left;
        line.table = std::make_unique<TablePlan>(SizeTable(*this, list, i, frame, line.rect, depth));
      }
      if (frame) {
        frame->x = line.x;
        frame->y = line.y;
      }
      line.lastFrame = frame;
    }
    const bool wraps = e && !IsWhiteSpace(*e) && e->kind != kContainer && !e->tag &&
                       static_cast<long long>(line.x) + e->width > line.rect.right;
    if (i == n || Is(e, kRule) || wraps) {
      EndLine(line, list, i);
      EndFloats(line, list, i);
      // A word or a picture too wide for the room the floats leave goes below them.
      const bool word = Is(e, kTextRun) && !e->text.empty() && e->text[0] != u' ';
      if (!line.floats.empty() && (word || Is(e, kImage)) && e->width > line.rect.right - line.rect.left)
        EndAllFloats(line);
      line.x = line.rect.left;
      line.rowOffset = 0;
    }
    if (i == n) break;
    const TablePlan::Cell* cell = line.table ? line.table->Find(i) : nullptr;
    if (cell) {
      const TablePlan& t = *line.table;
      const HtmlElement& c = *e;
      if (c.Container().cell[1] == 0) {
        line.y += t.spacing + (cell->row == 0 ? t.border : 0) + cell->rowsBefore;
        line.x += t.border + t.spacing;
      }
      line.rowOffset += cell->skipOffset;
      line.rowHeight = std::max(line.rowHeight, cell->rowHeight);
      e->width = cell->width;
      e->height = cell->height;
      e->x = Clamp(static_cast<long long>(line.x) + line.rowOffset);
      e->y = line.y;
      const int room = cell->height - 2 * t.padding - cell->contentHeight;
      const int v = e->valign == 1 ? room : e->valign == 2 ? room / 2 : 0;
      MoveChildren(*e, t.padding + e->x, t.padding + e->y + v);
      line.x = Clamp(static_cast<long long>(line.x) + cell->width + t.spacing);
    } else if (!Is(e, kRule)) {
      e->x = Clamp(static_cast<long long>(line.x) + line.rowOffset);
      e->y = line.y;
      line.x = Clamp(static_cast<long long>(line.x) + e->width + (e->kind == kContainer ? e->Container().cell[10] : 0));
    }
    if (Is(e, kRule) && i > 0 && Is(At(list, i - 1), kContainer) && !line.table && line.lastFrame)
      line.y = Clamp(static_cast<long long>(line.lastFrame->y) + line.lastFrame->height);
    if (cell && line.table->LastIndex() == i) {
      line.y += line.table->spacing + line.table->border;
      line.table.reset();
    }
    RegisterFloat(line, list, i);
  }
}

}  // namespace htmlview
