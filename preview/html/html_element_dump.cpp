#include "preview/html/html_element_dump.h"

#include <vector>

namespace htmlview {
namespace {

void DumpInto(std::string& out, const HtmlElementList& list, bool withPositions, int depth) {
  static const char kKinds[] = "TIRC";
  for (const auto& e : list) {
    if (!e) continue;
    out.append(static_cast<size_t>(depth) * 2, ' ');
    out += (e->kind >= 0 && e->kind < 4) ? kKinds[e->kind] : '?';
    if (withPositions) out += " " + std::to_string(e->x) + "," + std::to_string(e->y);
    out += " " + std::to_string(e->width) + "x" + std::to_string(e->height);
    if (e->align) out += " a" + std::to_string(e->align);
    if (e->borderFlags) out += " f" + std::to_string(e->borderFlags);
    if (e->kind == kTextRun) out += " h" + std::to_string(e->fontHeight);
    if (e->bold) out += " b";
    if (e->italic) out += " i";
    if (e->linkIndex >= 0) out += " L" + std::to_string(e->linkIndex);
    if (e->tag && e->kind != kContainer) out += " nw";
    if (e->ruleTag) out += " clear";
    if (e->kind == kContainer) {
      const HtmlContainerFields& c = e->Container();
      out += " rc" + std::to_string(c.cell[0]) + "," + std::to_string(c.cell[1]);
      out += " pad" + std::to_string(c.cell[9]);
      if (c.cellTag >= 0) out += " side" + std::to_string(c.cellTag);
    }
    if (e->kind == kTextRun) out += " '" + std::string(e->text.begin(), e->text.end()) + "'";
    out += "\n";
    DumpInto(out, e->children, withPositions, depth + 1);
  }
}

}  // namespace

std::string DumpElements(const HtmlElementList& list, bool withPositions) {
  std::string out;
  DumpInto(out, list, withPositions, 0);
  return out;
}

}  // namespace htmlview
