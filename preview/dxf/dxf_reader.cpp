#include "preview/dxf/dxf_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string_view>

namespace dxf {

void Extents::Add(Point p) {
  if (empty) {
    minX = maxX = p.x;
    minY = maxY = p.y;
    empty = false;
    return;
  }
  minX = std::min(minX, p.x);
  maxX = std::max(maxX, p.x);
  minY = std::min(minY, p.y);
  maxY = std::max(maxY, p.y);
}

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Group code and value, one line each.
class PairReader {
 public:
  PairReader(const char* data, size_t size) : m_p(data), m_end(data + size), m_begin(data) {}
  enum Result { kPair, kEnd, kBad };
  Result Next(int& code, std::string_view& value) {
    std::string_view codeLine;
    if (!Line(codeLine)) return kEnd;
    codeLine = Trim(codeLine);
    const auto parsed = std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), code);
    if (codeLine.empty() || parsed.ec != std::errc() || parsed.ptr != codeLine.data() + codeLine.size()) return kBad;
    if (!Line(value)) return kEnd;
    value = Trim(value);
    return kPair;
  }
  size_t Consumed() const { return static_cast<size_t>(m_p - m_begin); }

 private:
  bool Line(std::string_view& line) {
    if (m_p >= m_end) return false;
    const void* nl = std::memchr(m_p, '\n', static_cast<size_t>(m_end - m_p));
    const char* stop = nl ? static_cast<const char*>(nl) : m_end;
    line = std::string_view(m_p, static_cast<size_t>(stop - m_p));
    m_p = nl ? stop + 1 : m_end;
    return true;
  }
  const char* m_p;
  const char* m_end;
  const char* m_begin;
};

bool ParseNumber(std::string_view text, double& out) {
  if (text.empty() || text.size() > 64) return false;
  const std::string copy(text);
  char* stop = nullptr;
  const double value = std::strtod(copy.c_str(), &stop);
  if (stop != copy.c_str() + copy.size() || !std::isfinite(value) || std::fabs(value) > kMaxCoordinate) return false;
  out = value;
  return true;
}

bool ParseInt(std::string_view text, int& out) {
  double value = 0;
  if (!ParseNumber(text, value) || std::fabs(value) > 1e9) return false;
  out = static_cast<int>(value);
  return true;
}

// The groups of one object (entity, table entry or block header) as they came.
struct RawObject {
  std::string type;
  std::vector<Point> points;  // each group 10 starts a point, 20 sets its y
  Point second;               // groups 11 and 21
  double g40 = 0, g41 = 1, g42 = 1, g50 = 0, g51 = 0;
  int colour = 256;  // by layer
  int flags = 0;
  std::string text, name, layer;
};

struct Block {
  Point base;
  std::vector<Entity> entities;
  std::vector<RawObject> inserts;  // expanded when the whole file is read
};

class Reader {
 public:
  Reader(const char* data, size_t size, const std::function<void(int)>& progress)
      : m_pairs(data, size), m_size(size), m_progress(progress) {}

  Drawing Read() {
    Drawing drawing;
    std::string section;
    bool inSection = false, sawEof = false, expectName = false;
    for (;;) {
      int code = 0;
      std::string_view value;
      const auto result = m_pairs.Next(code, value);
      if (result == PairReader::kEnd) break;
      if (result == PairReader::kBad) return Damaged("a group code is not a number");
      Report();
      if (expectName) {
        expectName = false;
        if (code == 2) {
          section = std::string(value);
          if (section == "HEADER") drawing.hasHeader = true;
          continue;
        }
      }
      if (code == 0) {
        if (!Finish()) return Damaged(m_error);
        if (value == "SECTION") {
          inSection = true;
          expectName = true;
          section.clear();
          continue;
        }
        if (value == "ENDSEC") {
          inSection = false;
          continue;
        }
        if (value == "EOF") {
          sawEof = true;
          break;
        }
        if (inSection && (section == "ENTITIES" || section == "BLOCKS" || section == "TABLES")) {
          m_current = RawObject{};
          m_current.type = std::string(value);
          m_open = true;
        }
        continue;
      }
      if (m_open && !Group(code, value)) return Damaged(m_error);
    }
    if (!Finish()) return Damaged(m_error);
    FlushPolyline();  // a file cut short inside a polyline keeps the vertices it has
    for (const RawObject& insert : m_topInserts) Expand(insert, m_top, 0);
    drawing.status = sawEof ? ReadStatus::kOk : ReadStatus::kTruncated;
    if (!sawEof) drawing.message = "the drawing ends before its EOF marker";
    drawing.entities = std::move(m_top);
    drawing.extents = EntityExtents(drawing.entities);
    if (m_progress) m_progress(100);
    return drawing;
  }

 private:
  Drawing Damaged(const std::string& why) {
    Drawing drawing;
    drawing.status = ReadStatus::kDamaged;
    drawing.message = why;
    return drawing;
  }

  void Report() {
    if (!m_progress || m_size == 0) return;
    const int percent = static_cast<int>(m_pairs.Consumed() * 100 / m_size);
    if (percent != m_lastPercent) m_progress(m_lastPercent = percent);
  }

  bool Number(std::string_view value, double& out) {
    if (ParseNumber(value, out)) return true;
    m_error = "a number of an entity is not a number";
    return false;
  }

  bool Group(int code, std::string_view value) {
    RawObject& o = m_current;
    switch (code) {
      case 10:
        if (o.points.size() >= kMaxVertices) return true;
        o.points.push_back({});
        return Number(value, o.points.back().x);
      case 20:
        if (o.points.empty()) o.points.push_back({});
        return Number(value, o.points.back().y);
      case 11: return Number(value, o.second.x);
      case 21: return Number(value, o.second.y);
      case 40: return Number(value, o.g40);
      case 41: return Number(value, o.g41);
      case 42: return Number(value, o.g42);
      case 50: return Number(value, o.g50);
      case 51: return Number(value, o.g51);
      case 62:
      case 70:
        if (ParseInt(value, code == 62 ? o.colour : o.flags)) return true;
        m_error = "a number of an entity is not a number";
        return false;
      case 1: o.text = std::string(value.substr(0, kMaxTextLength)); return true;
      case 2: o.name = std::string(value.substr(0, kMaxTextLength)); return true;
      case 8: o.layer = std::string(value.substr(0, kMaxTextLength)); return true;
      default: return true;
    }
  }

  uint32_t Colour(const RawObject& o) const {
    int index = o.colour;
    if (index == 256 || index == 0) {
      const auto layer = m_layerColours.find(o.layer);
      index = layer == m_layerColours.end() ? 7 : layer->second;
    }
    return IndexColour(std::abs(index));
  }

  std::vector<Entity>& Target() { return m_inBlock ? m_blocks[m_blockName].entities : m_top; }

  void Add(Entity e, const RawObject& o) {
    if (!Budget(e.points.size())) return;
    e.colour = Colour(o);
    Target().push_back(std::move(e));
  }

  Point First(const RawObject& o) const { return o.points.empty() ? Point{} : o.points.front(); }

  void FlushPolyline() {
    if (m_polyline && !m_polylineEntity.points.empty()) Add(std::move(m_polylineEntity), m_polylineObject);
    m_polyline = false;
  }

  // Turns the object just read into what it stands for; false when it cannot stand for anything.
  bool Finish() {
    if (!m_open) return true;
    m_open = false;
    const RawObject& o = m_current;
    const std::string& t = o.type;
    if (m_polyline && t != "VERTEX") {  // SEQEND or anything else ends the polyline
      FlushPolyline();
      if (t == "SEQEND") return true;
    }
    Entity e;
    if (t == "LINE") {
      e.points = {First(o), o.second};
      Add(std::move(e), o);
    } else if (t == "CIRCLE" || t == "ARC") {
      if (!(o.g40 > 0)) return true;  // no radius: nothing to draw
      e.kind = t == "ARC" ? EntityKind::kArc : EntityKind::kCircle;
      e.points = {First(o)};
      e.radius = o.g40;
      e.startAngle = o.g50;
      e.endAngle = o.g51;
      Add(std::move(e), o);
    } else if (t == "LWPOLYLINE") {
      if (o.points.empty()) return true;
      e.kind = EntityKind::kPolyline;
      e.points = o.points;
      e.closed = (o.flags & 1) != 0;
      Add(std::move(e), o);
    } else if (t == "POLYLINE") {
      m_polyline = true;
      m_polylineEntity = Entity{};
      m_polylineEntity.kind = EntityKind::kPolyline;
      m_polylineEntity.closed = (o.flags & 1) != 0;
      m_polylineObject = o;
    } else if (t == "VERTEX") {
      if (m_polyline && m_polylineEntity.points.size() < kMaxVertices) m_polylineEntity.points.push_back(First(o));
    } else if (t == "POINT") {
      e.kind = EntityKind::kPoint;
      e.points = {First(o)};
      Add(std::move(e), o);
    } else if (t == "TEXT") {
      if (o.text.empty() || !(o.g40 > 0)) return true;
      e.kind = EntityKind::kText;
      e.points = {First(o)};
      e.height = o.g40;
      e.rotation = o.g50;
      e.text = o.text;
      Add(std::move(e), o);
    } else if (t == "LAYER") {
      m_layerColours[o.name] = o.colour;
    } else if (t == "BLOCK") {
      m_inBlock = true;
      m_blockName = o.name;
      m_blocks[m_blockName].base = First(o);
    } else if (t == "ENDBLK") {
      m_inBlock = false;
    } else if (t == "INSERT") {
      (m_inBlock ? m_blocks[m_blockName].inserts : m_topInserts).push_back(o);
    }
    return true;
  }

  // Room for one more entity of this many points; a hostile file can reference big blocks many times.
  bool Budget(size_t points) {
    if (m_count >= kMaxEntities || m_points + points > kMaxTotalPoints) return false;
    ++m_count;
    m_points += points;
    return true;
  }

  // Places a block's entities (and its own references, to a limited depth) where the reference says.
  void Expand(const RawObject& insert, std::vector<Entity>& out, int depth) {
    const auto found = m_blocks.find(insert.name);
    if (depth >= kMaxBlockDepth || found == m_blocks.end() || ++m_expansions > kMaxEntities) return;
    const Block& block = found->second;
    std::vector<Entity> local;
    for (const RawObject& inner : block.inserts) Expand(inner, local, depth + 1);
    for (const Entity& source : block.entities) {
      if (!Budget(source.points.size())) break;
      local.push_back(source);
    }
    const Point at = First(insert);
    const double sx = insert.g41, sy = insert.g42, angle = insert.g50 * kPi / 180;
    const double c = std::cos(angle), s = std::sin(angle);
    const double scale = (std::fabs(sx) + std::fabs(sy)) / 2;
    for (Entity& e : local) {
      for (Point& p : e.points) {
        const double x = (p.x - block.base.x) * sx, y = (p.y - block.base.y) * sy;
        p = Point{at.x + x * c - y * s, at.y + x * s + y * c};
      }
      e.radius *= scale;
      e.height *= std::fabs(sy);
      e.startAngle += insert.g50;
      e.endAngle += insert.g50;
      e.rotation += insert.g50;
      if (!Sane(e)) continue;
      out.push_back(std::move(e));
    }
  }

  // Scaled references can push coordinates past what the view's maths keeps exact.
  static bool Sane(const Entity& e) {
    for (Point p : e.points)
      if (!(std::fabs(p.x) <= kMaxCoordinate && std::fabs(p.y) <= kMaxCoordinate)) return false;
    return std::fabs(e.radius) <= kMaxCoordinate && std::fabs(e.height) <= kMaxCoordinate;
  }

  PairReader m_pairs;
  size_t m_size;
  const std::function<void(int)>& m_progress;
  int m_lastPercent = -1;
  std::string m_error;
  RawObject m_current;
  bool m_open = false;
  bool m_polyline = false;
  Entity m_polylineEntity;
  RawObject m_polylineObject;
  bool m_inBlock = false;
  std::string m_blockName;
  std::map<std::string, Block> m_blocks;
  std::map<std::string, int> m_layerColours;
  std::vector<RawObject> m_topInserts;
  std::vector<Entity> m_top;
  size_t m_count = 0;
  size_t m_points = 0;
  size_t m_expansions = 0;
};

}  // namespace

Drawing ReadDrawing(const char* data, size_t size, const std::function<void(int)>& progress) {
  return Reader(data, size, progress).Read();
}

bool LooksLikeDrawing(const char* start, size_t size) {
  const std::string_view text(start, strnlen(start, size));
  return text.find("SECTION") != std::string_view::npos && text.find("HEADER") != std::string_view::npos;
}

uint32_t IndexColour(int index) {
  switch (index) {
    case 1: return 0x000000FF;
    case 2: return 0x0000FFFF;
    case 3: return 0x0000FF00;
    case 4: return 0x00FFFF00;
    case 5: return 0x00FF0000;
    case 6: return 0x00FF00FF;
    case 8: return 0x00808080;
    case 9: return 0x00C0C0C0;
    default: return 0x00FFFFFF;
  }
}

Extents EntityExtents(const std::vector<Entity>& entities) {
  Extents extents;
  for (const Entity& e : entities) {
    if (e.points.empty()) continue;
    if (e.kind == EntityKind::kCircle || e.kind == EntityKind::kArc) {
      const Point c = e.points[0];
      extents.Add({c.x - e.radius, c.y - e.radius});
      extents.Add({c.x + e.radius, c.y + e.radius});
    } else if (e.kind == EntityKind::kText) {
      // About six tenths of the height per character, along the text's direction.
      const double width = 0.6 * e.height * static_cast<double>(e.text.size());
      const double a = e.rotation * kPi / 180;
      const Point p = e.points[0];
      extents.Add(p);
      extents.Add({p.x + width * std::cos(a), p.y + width * std::sin(a)});
      extents.Add({p.x - e.height * std::sin(a), p.y + e.height * std::cos(a)});
    } else {
      for (Point p : e.points) extents.Add(p);
    }
  }
  return extents;
}

}  // namespace dxf
