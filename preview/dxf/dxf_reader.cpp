#include "preview/dxf/dxf_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string_view>

#include "preview/dxf/dxf_curves.h"
#include "preview/dxf/dxf_mesh.h"
#include "preview/dxf/dxf_spline_hatch.h"
#include "preview/dxf/dxf_text.h"

namespace dxf {

namespace {

// Some editors and converters save a drawing with a UTF-8 byte-order mark before its first group.
size_t Utf8MarkLength(const char* data, size_t size) {
  return size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

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
  std::vector<Point> points;   // each group 10 starts a point, 20 sets its y
  std::vector<double> bulges;  // group 42 after a point: that vertex's bulge
  Point second, third, fourth;  // groups 11 and 21, 12 and 22, 13 and 23
  bool hasSecond = false, hasFourth = false;
  double g40 = 0, g41 = 1, g42 = 1, g44 = 1, g50 = 0, g51 = 0;
  Point normal{0, 0};  // groups 210 and 220; with 230, the direction the entity's plane faces
  double normalZ = 1;
  int colour = 256;  // by layer
  int flags = 0, g71 = 0, g72 = 0, g73 = 0, g74 = 0;
  int space = 0;  // 1: the entity is drawn on paper, not in the model
  std::string text, chunks, name, layer;  // chunks: the groups 3 that come before a long text's group 1
  std::vector<GroupValue> groups;  // splines and hatches only
  bool keepGroups = false;
  bool asIs = false;  // a dimension's block: drawn where the block holds it
  uint32_t layerId = 0;  // a reference's layer, by the number its key was given
};

// An entity's layer (by the number its key was given; 0 is layer "0") and colour index as the file gives
// them: whether it shows and in what colour is settled once the whole file is read, since a block's entities
// take both from each reference. A million entities may come from the blocks: numbers keep their lookups cheap.
struct Tag {
  uint32_t layer = 0;
  int colour = 256;
};

struct Item {
  Entity entity;
  Tag tag;
};

struct Block {
  Point base;
  std::vector<Item> items;
  std::vector<RawObject> inserts;  // expanded when the whole file is read
};

struct Layer {
  int colour = 7;  // negative: off
  bool frozen = false;
};

// x' = a x + b y + tx, y' = c x + d y + ty.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
  Point Linear(Point p) const { return {a * p.x + b * p.y, c * p.x + d * p.y}; }
  Point Apply(Point p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty}; }
  // This map after the inner one.
  Affine Then(const Affine& inner) const {
    const Point t = Apply({inner.tx, inner.ty});
    return {a * inner.a + b * inner.c, a * inner.b + b * inner.d, c * inner.a + d * inner.c,
            c * inner.b + d * inner.d, t.x, t.y};
  }
  double Determinant() const { return a * d - b * c; }
  // Turns, mirrors and scales alike along every direction: circles stay circles.
  bool Similar() const {
    const double uu = a * a + c * c, vv = b * b + d * d, uv = a * b + c * d;
    return std::fabs(uu - vv) <= 1e-9 * (uu + vv) && std::fabs(uv) <= 1e-9 * (uu + vv);
  }
};

// The direction, in degrees, that a direction given in degrees takes under the map.
double MapAngle(const Affine& m, double degrees) {
  const double r = degrees * kPi / 180;
  const Point v = m.Linear({std::cos(r), std::sin(r)});
  return std::atan2(v.y, v.x) * 180 / kPi;
}

double Dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }

// The ellipse through c + u cos t + v sin t, t from start to end (radians), for two half-diameters u and v
// that need not be at right angles, by its true axes.
void SetEllipse(Entity& e, Point u, Point v, double start, double end) {
  const double t0 = 0.5 * std::atan2(2 * Dot(u, v), Dot(u, u) - Dot(v, v));  // where the curve is farthest out
  const double c = std::cos(t0), s = std::sin(t0);
  const Point major{u.x * c + v.x * s, u.y * c + v.y * s};
  const Point minor{v.x * c - u.x * s, v.y * c - u.y * s};
  const double length = std::hypot(major.x, major.y);
  if (!(length > 0)) return;
  e.kind = EntityKind::kEllipse;
  e.axis = major;
  e.ratio = std::hypot(minor.x, minor.y) / length;
  // The minor axis on the major's right runs the parameter the other way round.
  const bool reversed = major.x * minor.y - major.y * minor.x < 0;
  e.startParam = reversed ? t0 - end : start - t0;
  e.endParam = reversed ? t0 - start : end - t0;
}

// Moves an entity of a block to where a reference puts it. A mirror turns arcs the other way round; a scale
// that differs along the axes makes circles and arcs ellipses.
void Place(Entity& e, const Affine& m) {
  for (Point& p : e.points) p = m.Apply(p);
  const double det = m.Determinant();
  const bool mirrored = det < 0;
  if (e.kind == EntityKind::kArc || e.kind == EntityKind::kCircle) {
    if (!m.Similar()) {
      const Point u = m.Linear({e.radius, 0}), v = m.Linear({0, e.radius});
      const bool whole = e.kind == EntityKind::kCircle;
      SetEllipse(e, u, v, whole ? 0 : e.startAngle * kPi / 180, whole ? 2 * kPi : e.endAngle * kPi / 180);
      e.radius = 0;
      return;
    }
    const double start = MapAngle(m, e.startAngle), end = MapAngle(m, e.endAngle);
    e.startAngle = mirrored ? end : start;
    e.endAngle = mirrored ? start : end;
    e.radius *= std::sqrt(std::fabs(det));
  }
  if (e.kind == EntityKind::kText) {
    const double r = e.rotation * kPi / 180;
    const Point up = m.Linear({-std::sin(r), std::cos(r)});
    e.height *= std::hypot(up.x, up.y);
    e.rotation = MapAngle(m, e.rotation);
  }
  if (e.kind == EntityKind::kEllipse) {
    const Point minor{-e.axis.y * e.ratio, e.axis.x * e.ratio};
    SetEllipse(e, m.Linear(e.axis), m.Linear(minor), e.startParam, e.endParam);
  }
  if (mirrored)
    for (double& b : e.bulges) b = -b;
}

std::string LayerKey(const std::string& name) {
  std::string key = name.empty() ? "0" : name;
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

class Reader {
 public:
  Reader(const char* data, size_t size, const std::function<void(int)>& progress, const CodePageDecoder& decode)
      : m_pairs(data + Utf8MarkLength(data, size), size - Utf8MarkLength(data, size)),
        m_size(size),
        m_progress(progress),
        m_decode(decode),
        m_marked(Utf8MarkLength(data, size) > 0),
        m_utf8(m_marked) {
    LayerId("0");
  }

  Drawing Read() {
    Drawing drawing;
    std::string section, variable;
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
        if (inSection && (section == "ENTITIES" || section == "BLOCKS" || section == "TABLES")) Open(value);
        continue;
      }
      if (inSection && section == "HEADER") Header(code, value, variable);
      if (m_open && !Group(code, value)) return Damaged(m_error);
    }
    if (!Finish()) return Damaged(m_error);
    FlushPolyline();  // a file cut short inside a polyline keeps the vertices it has
    ResolveLayers();
    // A vector of a million entities grown step by step moves each of them twice on the way: room is made
    // for what the references will place, as far as the limits on entities and on points let them.
    Placing placed;
    std::map<std::pair<const Block*, int>, Placing> placedBy;
    for (const RawObject& insert : m_topInserts) placed.Add(Placed(insert, 0, placedBy));
    const double share = placed.points > kMaxTotalPoints ? static_cast<double>(kMaxTotalPoints) / placed.points : 1.0;
    const size_t room = static_cast<size_t>(
        std::min(static_cast<double>(kMaxEntities - std::min(m_count, kMaxEntities)), placed.entities * share));
    m_top.reserve(m_top.size() + room);
    m_topTags.reserve(m_top.capacity());
    for (const RawObject& insert : m_topInserts) {
      if (m_references >= kMaxBlockReferences) break;
      Expand(insert, insert.layerId, insert.colour == 0 ? 7 : insert.colour, Affine{}, 0);
    }
    drawing.blockReferences = m_references;
    drawing.status = sawEof ? ReadStatus::kOk : ReadStatus::kTruncated;
    if (!sawEof) drawing.message = "the drawing ends before its EOF marker";
    // The entities that show, in place, without a second copy of them.
    size_t kept = 0;
    for (size_t i = 0; i < m_top.size(); ++i) {
      const Tag tag = m_topTags[i];
      if (Hidden(tag.layer)) continue;
      m_top[i].colour = IndexColour(std::abs(ColourIndex(tag.colour, tag.layer)));
      if (kept != i) m_top[kept] = std::move(m_top[i]);
      ++kept;
    }
    m_top.resize(kept);
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

  // The drawing's version says how its text is encoded: in UTF-8 from 2007 on, before in the code page its
  // header names; a file that begins with a UTF-8 mark is UTF-8 whatever its version.
  void Header(int code, std::string_view value, std::string& variable) {
    if (code == 9) variable = std::string(value.substr(0, 32));
    if (code == 1 && variable == "$ACADVER") m_utf8 = m_marked || value >= "AC1021";
    if (code == 3 && variable == "$DWGCODEPAGE") m_codePage = DrawingCodePage(value);
  }

  std::string Utf8(std::string_view text) const { return TextToUtf8(text, m_utf8, m_codePage, m_decode); }

  void Open(std::string_view type) {
    m_current = RawObject{};
    m_current.type = std::string(type.substr(0, 32));
    m_current.keepGroups = type == "SPLINE" || type == "HATCH";
    if (type == "ELLIPSE") {  // a whole ellipse unless the file says otherwise
      m_current.g41 = 0;
      m_current.g42 = 2 * kPi;
    }
    if (type == "MTEXT") m_current.g41 = 0;  // no width to wrap at unless the file gives one
    m_open = true;
  }

  bool Number(std::string_view value, double& out) {
    if (ParseNumber(value, out)) return true;
    m_error = "a number of an entity is not a number";
    return false;
  }

  bool Integer(std::string_view value, int& out) {
    if (ParseInt(value, out)) return true;
    m_error = "a number of an entity is not a number";
    return false;
  }

  bool Group(int code, std::string_view value) {
    RawObject& o = m_current;
    if (o.keepGroups && IsNumberCode(code) && o.groups.size() < kMaxObjectGroups) {
      GroupValue g;
      g.code = code;
      if (!Number(value, g.value)) return false;
      o.groups.push_back(g);
    }
    switch (code) {
      case 10:
        if (o.points.size() >= kMaxVertices) return true;
        o.points.push_back({});
        o.bulges.push_back(0);
        return Number(value, o.points.back().x);
      case 20:
        if (o.points.empty()) o.points.push_back({});
        if (o.bulges.empty()) o.bulges.push_back(0);
        return Number(value, o.points.back().y);
      case 11: o.hasSecond = true; return Number(value, o.second.x);
      case 21: return Number(value, o.second.y);
      case 12: return Number(value, o.third.x);
      case 22: return Number(value, o.third.y);
      case 13: o.hasFourth = true; return Number(value, o.fourth.x);
      case 23: return Number(value, o.fourth.y);
      case 40: return Number(value, o.g40);
      case 41: return Number(value, o.g41);
      case 42:
        if (!Number(value, o.g42)) return false;
        if (!o.bulges.empty()) o.bulges.back() = o.g42;
        return true;
      case 44: return Number(value, o.g44);
      case 50: return Number(value, o.g50);
      case 51: return Number(value, o.g51);
      case 62: return Integer(value, o.colour);
      case 67: return Integer(value, o.space);
      case 70: return Integer(value, o.flags);
      case 71: return Integer(value, o.g71);
      case 72: return Integer(value, o.g72);
      case 73: return Integer(value, o.g73);
      case 74: return Integer(value, o.g74);
      case 210: return Number(value, o.normal.x);
      case 220: return Number(value, o.normal.y);
      case 230: return Number(value, o.normalZ);
      case 1: o.text = std::string(value.substr(0, kMaxParagraphLength)); return true;
      case 3:
        if (o.chunks.size() < kMaxParagraphLength) o.chunks += value.substr(0, kMaxParagraphLength - o.chunks.size());
        return true;
      case 2: o.name = std::string(value.substr(0, kMaxTextLength)); return true;
      case 8: o.layer = std::string(value.substr(0, kMaxTextLength)); return true;
      default: return true;
    }
  }

  // The number of a layer's key, given on its first use.
  uint32_t LayerId(const std::string& name) {
    std::string key = LayerKey(name);
    const auto found = m_layerIds.find(key);
    if (found != m_layerIds.end()) return found->second;
    const auto id = static_cast<uint32_t>(m_layerKeys.size());
    m_layerKeys.push_back(key);
    m_layerIds.emplace(std::move(key), id);
    return id;
  }

  // Once the whole file is read: the table's entry of each layer used, by its number.
  void ResolveLayers() {
    m_layerOf.assign(m_layerKeys.size(), nullptr);
    for (size_t id = 0; id < m_layerKeys.size(); ++id) {
      const auto found = m_layers.find(m_layerKeys[id]);
      if (found != m_layers.end()) m_layerOf[id] = &found->second;
    }
  }

  const Layer* FindLayer(uint32_t id) const { return id < m_layerOf.size() ? m_layerOf[id] : nullptr; }

  bool Hidden(uint32_t id) const {
    const Layer* layer = FindLayer(id);
    return layer != nullptr && (layer->colour < 0 || layer->frozen);
  }

  bool Frozen(uint32_t id) const {
    const Layer* layer = FindLayer(id);
    return layer != nullptr && layer->frozen;
  }

  // The colour index an entity shows: its own, or its layer's when it is by layer.
  int ColourIndex(int colour, uint32_t id) const {
    if (colour == 256) {
      const Layer* layer = FindLayer(id);
      return layer == nullptr ? 7 : layer->colour;
    }
    return colour == 0 ? 7 : colour;
  }

  void Keep(Entity e, Tag tag) {
    if (m_inBlock) {
      m_blocks[m_blockName].items.push_back(Item{std::move(e), tag});
    } else {
      m_top.push_back(std::move(e));
      m_topTags.push_back(tag);
    }
  }

  // A flat entity drawn from the back (its plane faces away, as mirroring leaves it): its own coordinates
  // run with x the other way. Only the entities that keep their coordinates in their plane's have it.
  static bool FacesAway(const RawObject& o) {
    return o.normalZ < 0 && std::fabs(o.normal.x) < 1.0 / 64 && std::fabs(o.normal.y) < 1.0 / 64;
  }
  static bool InOwnPlane(const RawObject& o) {
    const std::string& type = o.type;
    if (type == "POLYLINE") return (o.flags & (kPolyline3d | kPolygonMesh | kPolyfaceMesh)) == 0;  // 3D: the world's
    return type == "CIRCLE" || type == "ARC" || type == "LWPOLYLINE" || type == "TEXT" || type == "ATTRIB" ||
           type == "SOLID" || type == "HATCH" || type == "INSERT";
  }
  static constexpr Affine kMirrorX{-1, 0, 0, 1, 0, 0};
  static constexpr uint32_t kLayerZero = 0;

  void Add(Entity e, const RawObject& o) {
    if (!Budget(e.points.size())) return;
    if (FacesAway(o) && InOwnPlane(o)) Place(e, kMirrorX);
    Keep(std::move(e), Tag{LayerId(o.layer), o.colour});
  }

  Point First(const RawObject& o) const { return o.points.empty() ? Point{} : o.points.front(); }

  // A mesh's faces or grid, or the polyline's vertices.
  void FlushPolyline() {
    const int flags = m_polylineObject.flags;
    const EntitySink add = [this](Entity e) { Add(std::move(e), m_polylineObject); };
    if (m_polyline && (flags & kPolyfaceMesh) != 0) {
      PolyfaceEdges(m_meshVertices, m_meshFaces, add);
    } else if (m_polyline && (flags & kPolygonMesh) != 0) {
      MeshGrid(m_meshVertices, m_polylineObject.g71, m_polylineObject.g72, (flags & kPolylineClosed) != 0,
               (flags & kMeshClosedN) != 0, add);
    } else if (m_polyline && !m_polylineEntity.points.empty()) {
      if (std::all_of(m_polylineEntity.bulges.begin(), m_polylineEntity.bulges.end(), [](double b) { return b == 0; }))
        m_polylineEntity.bulges.clear();
      Add(std::move(m_polylineEntity), m_polylineObject);
    }
    m_polyline = false;
    m_meshVertices.clear();
    m_meshFaces.clear();
  }

  // A vertex of the polyline being read. A polyface mesh's face records and a spline-fit polyline's frame
  // are not points of the line.
  void AddVertex(const RawObject& v) {
    const int flags = m_polylineObject.flags;
    if ((flags & kPolyfaceMesh) != 0 && (v.flags & kVertexOfPolyface) != 0 && (v.flags & kVertexOfMesh) == 0) {
      if (m_meshFaces.size() < kMaxEntities) m_meshFaces.push_back(FaceRecord{{v.g71, v.g72, v.g73, v.g74}});
    } else if ((flags & (kPolyfaceMesh | kPolygonMesh)) != 0) {
      if (m_meshVertices.size() < kMaxVertices) m_meshVertices.push_back(First(v));
    } else if ((flags & kPolylineSplineFit) == 0 || (v.flags & kVertexSplineFrame) == 0) {
      if (m_polylineEntity.points.size() < kMaxVertices) {
        m_polylineEntity.points.push_back(First(v));
        m_polylineEntity.bulges.push_back(v.bulges.empty() ? 0 : v.bulges.front());
      }
    }
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
    // The preview shows the model; what a layout's paper holds (its title block, its viewports) is not drawn
    // over it. The blocks of a paper's own entities are marked so too: they are still blocks.
    if (o.space == 1 && !m_inBlock && t != "BLOCK" && t != "ENDBLK") return true;
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
      if (std::any_of(o.bulges.begin(), o.bulges.end(), [](double b) { return b != 0; })) e.bulges = o.bulges;
      e.closed = (o.flags & 1) != 0;
      Add(std::move(e), o);
    } else if (t == "POLYLINE") {
      m_polyline = true;
      m_polylineEntity = Entity{};
      m_polylineEntity.kind = EntityKind::kPolyline;
      m_polylineEntity.closed = (o.flags & 1) != 0;
      m_polylineObject = o;
    } else if (t == "VERTEX") {
      if (m_polyline) AddVertex(o);
    } else if (t == "POINT") {
      e.kind = EntityKind::kPoint;
      e.points = {First(o)};
      Add(std::move(e), o);
    } else if (t == "TEXT") {
      AddText(o, o.g73);
    } else if (t == "ATTRIB") {
      if ((o.flags & 1) == 0) AddText(o, o.g74);  // an invisible attribute is not drawn
    } else if (t == "MTEXT") {
      AddParagraph(o);
    } else if (t == "ELLIPSE") {
      if (!(o.g40 > 0 && o.g40 <= 1) || !(std::hypot(o.second.x, o.second.y) > 0)) return true;
      e.kind = EntityKind::kEllipse;
      e.points = {First(o)};
      e.axis = o.second;
      e.ratio = o.g40;
      // Seen from the back its minor axis lies on the major's other side: the parameter runs the other way.
      e.startParam = FacesAway(o) ? -o.g42 : o.g41;
      e.endParam = FacesAway(o) ? -o.g41 : o.g42;
      Add(std::move(e), o);
    } else if (t == "SPLINE") {
      AddSpline(o);
    } else if (t == "SOLID" || t == "3DFACE") {
      AddCorners(o, t == "SOLID");
    } else if (t == "HATCH") {
      AddHatch(o);
    } else if (t == "LAYER") {
      m_layers[LayerKey(o.name)] = Layer{o.colour, (o.flags & 1) != 0};
    } else if (t == "BLOCK") {
      m_inBlock = true;
      m_blockName = o.name;
      m_blocks[m_blockName].base = First(o);
    } else if (t == "ENDBLK") {
      m_inBlock = false;
    } else if (t == "INSERT" || t == "DIMENSION") {
      RawObject insert = o;
      if (t == "DIMENSION") {
        insert.asIs = true;
        insert.g41 = insert.g42 = 1;
        insert.g50 = 0;
      }
      insert.groups.clear();
      insert.layerId = LayerId(insert.layer);
      (m_inBlock ? m_blocks[m_blockName].inserts : m_topInserts).push_back(std::move(insert));
    }
    return true;
  }

  void AddText(const RawObject& o, int vertical) {
    if (o.text.empty() || !(o.g40 > 0)) return;
    Entity e;
    e.kind = EntityKind::kText;
    e.height = o.g40;
    e.rotation = o.g50;
    e.text = CutUtf8(SingleLineText(Utf8(o.text)), kMaxTextLength);
    const int horizontal = o.g72;
    Point at = First(o);
    // Aligned and fitted text starts at its first point; every other alignment is about the second.
    if ((horizontal != 0 || vertical != 0) && o.hasSecond && horizontal != 3 && horizontal != 5) at = o.second;
    e.align = horizontal == 1 || horizontal == 4 ? TextAlign::kCentre
              : horizontal == 2                  ? TextAlign::kRight
                                                 : TextAlign::kLeft;
    const double drop = vertical == 3 ? e.height : (vertical == 2 || horizontal == 4) ? e.height / 2 : 0;
    const double a = e.rotation * kPi / 180;
    e.points = {{at.x + drop * std::sin(a), at.y - drop * std::cos(a)}};
    Add(std::move(e), o);
  }

  // A paragraph text becomes one text per line, wrapped at its width, placed by its attachment point.
  void AddParagraph(const RawObject& o) {
    if (!(o.g40 > 0)) return;
    std::vector<std::string> lines;
    for (const std::string& line : ParagraphLines(Utf8(o.chunks + o.text))) {
      if (!(o.g41 > 0)) {
        lines.push_back(line);
        continue;
      }
      for (std::string& wrapped : WrapLine(line, o.g40, o.g41))
        if (lines.size() < kMaxParagraphLines) lines.push_back(std::move(wrapped));
    }
    if (lines.empty()) return;
    const bool direction = o.hasSecond && std::hypot(o.second.x, o.second.y) > 0;
    const double rotation = direction ? std::atan2(o.second.y, o.second.x) * 180 / kPi : o.g50;
    const int attach = o.g71 >= 1 && o.g71 <= 9 ? o.g71 - 1 : 0;
    const int column = attach % 3, row = attach / 3;
    const double h = o.g40, spacing = 5.0 / 3.0 * h * (o.g44 > 0 ? o.g44 : 1);
    const double total = h + spacing * static_cast<double>(lines.size() - 1);
    const double first = row == 0 ? h : row == 1 ? h - total / 2 : h - total;
    const double a = rotation * kPi / 180;
    const Point at = First(o);
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty()) continue;
      const double drop = first + spacing * static_cast<double>(i);
      Entity e;
      e.kind = EntityKind::kText;
      e.height = h;
      e.rotation = rotation;
      e.text = CutUtf8(lines[i], kMaxTextLength);
      e.align = static_cast<TextAlign>(column);
      e.points = {{at.x + drop * std::sin(a), at.y - drop * std::cos(a)}};
      Add(std::move(e), o);
    }
  }

  // A solid's corners come in the order 1, 2, 4, 3; a face's in drawing order, with flags for edges that
  // are not drawn.
  void AddCorners(const RawObject& o, bool solid) {
    const Point p0 = First(o), p1 = o.second, p2 = o.third;
    const Point p3 = o.hasFourth ? o.fourth : p2;
    const bool triangle = p3.x == p2.x && p3.y == p2.y;
    Entity e;
    if (solid) {
      e.kind = EntityKind::kSolid;
      e.points = triangle ? std::vector<Point>{p0, p1, p2} : std::vector<Point>{p0, p1, p3, p2};
      Add(std::move(e), o);
      return;
    }
    const std::vector<Point> corners = triangle ? std::vector<Point>{p0, p1, p2} : std::vector<Point>{p0, p1, p2, p3};
    FaceEdges(corners, static_cast<unsigned>(o.flags) & 15, [&](Entity edge) { Add(std::move(edge), o); });
  }

  void AddSpline(const RawObject& o) {
    Entity e;
    if (SplineFromGroups(o.groups, e)) Add(std::move(e), o);
  }

  void AddHatch(const RawObject& o) {
    for (Entity& e : HatchBoundaries(o.groups)) Add(std::move(e), o);
  }

  // Room for one more entity of this many points; a hostile file can reference big blocks many times.
  bool Budget(size_t points) {
    if (m_count >= kMaxEntities || m_points + points > kMaxTotalPoints) return false;
    ++m_count;
    m_points += points;
    return true;
  }

  // What an entity of a block takes from the reference that places it: layer "0" becomes the reference's
  // layer, the colour "by block" the reference's colour.
  static uint32_t InheritLayer(uint32_t own, uint32_t reference) { return own == kLayerZero ? reference : own; }
  int InheritColour(int own, int reference, uint32_t referenceLayer) const {
    if (own != 0) return own;
    return reference == 256 ? ColourIndex(256, referenceLayer) : reference;
  }

  // Where a reference puts the points of its block: turned, scaled and moved from the block's base point to
  // the reference's point (a dimension's block stays where it is).
  Affine Placement(const RawObject& insert, const Block& block) const {
    const double angle = insert.g50 * kPi / 180, c = std::cos(angle), s = std::sin(angle);
    const double sx = insert.g41, sy = insert.g42;
    Affine m{c * sx, -s * sy, s * sx, c * sy, 0, 0};
    const Point at = insert.asIs ? block.base : First(insert);
    const Point base = m.Linear(block.base);
    m.tx = at.x - base.x;
    m.ty = at.y - base.y;
    return FacesAway(insert) ? kMirrorX.Then(m) : m;
  }

  // Places a block's entities (and its own references, to a limited depth) where the reference says, within
  // whatever places the reference itself. The layer and colour given are the reference's own after what it
  // inherited; a frozen layer hides it all.
  // Every reference counts, also one refused for its depth or for a block that is not there: a block that
  // names itself many times would otherwise be walked a million times over, each walk paying for all its
  // refused references.
  void Expand(const RawObject& insert, uint32_t layer, int colour, const Affine& outer, int depth) {
    if (m_references >= kMaxBlockReferences) return;
    ++m_references;
    const auto found = m_blocks.find(insert.name);
    if (depth >= kMaxBlockDepth || found == m_blocks.end() || Frozen(layer)) return;
    const Block& block = found->second;
    const Affine m = outer.Then(Placement(insert, block));
    for (const RawObject& inner : block.inserts) {
      if (m_references >= kMaxBlockReferences) break;
      Expand(inner, InheritLayer(inner.layerId, layer), InheritColour(inner.colour, colour, layer), m, depth + 1);
    }
    const bool similar = m.Similar();
    for (const Item& source : block.items) {
      auto place = [&](Entity e) {
        if (!Budget(e.points.size())) return false;
        Place(e, m);
        if (Sane(e)) {
          m_top.push_back(std::move(e));
          m_topTags.push_back(Tag{InheritLayer(source.tag.layer, layer), InheritColour(source.tag.colour, colour, layer)});
        }
        return true;
      };
      // Stretched, a polyline's arcs are arcs of ellipses: its pieces are placed one by one.
      if (!similar && source.entity.kind == EntityKind::kPolyline && !source.entity.bulges.empty()) {
        for (Entity& piece : ExplodeBulges(source.entity))
          if (!place(std::move(piece))) return;
      } else if (!place(source.entity)) {
        return;
      }
    }
  }

  // How many entities, and points, a reference at this depth places whole (its block's, and its references'
  // to the depth allowed), before the reader's limits; worked out once per block and depth.
  struct Placing {
    double entities = 0, points = 0;
    void Add(const Placing& more) {
      entities = std::min(entities + more.entities, 1e18);
      points = std::min(points + more.points, 1e18);
    }
  };
  Placing Placed(const RawObject& insert, int depth, std::map<std::pair<const Block*, int>, Placing>& known) const {
    const auto found = m_blocks.find(insert.name);
    if (depth >= kMaxBlockDepth || found == m_blocks.end()) return {};
    const Block* block = &found->second;
    const auto at = known.find({block, depth});
    if (at != known.end()) return at->second;
    Placing count;
    for (const Item& item : block->items) count.Add({1, static_cast<double>(item.entity.points.size())});
    for (const RawObject& inner : block->inserts) count.Add(Placed(inner, depth + 1, known));
    known[{block, depth}] = count;
    return count;
  }

  // Scaled references can push coordinates past what the view's maths keeps exact.
  static bool Sane(const Entity& e) {
    for (Point p : e.points)
      if (!(std::fabs(p.x) <= kMaxCoordinate && std::fabs(p.y) <= kMaxCoordinate)) return false;
    return std::fabs(e.radius) <= kMaxCoordinate && std::fabs(e.height) <= kMaxCoordinate &&
           std::fabs(e.axis.x) <= kMaxCoordinate && std::fabs(e.axis.y) <= kMaxCoordinate;
  }

  PairReader m_pairs;
  size_t m_size;
  const std::function<void(int)>& m_progress;
  const CodePageDecoder& m_decode;
  int m_lastPercent = -1;
  std::string m_error;
  bool m_marked;
  bool m_utf8;
  unsigned m_codePage = 1252;
  RawObject m_current;
  bool m_open = false;
  bool m_polyline = false;
  Entity m_polylineEntity;
  RawObject m_polylineObject;
  std::vector<Point> m_meshVertices;  // of a polyface or polygon mesh
  std::vector<FaceRecord> m_meshFaces;
  bool m_inBlock = false;
  std::string m_blockName;
  std::map<std::string, Block> m_blocks;
  std::map<std::string, Layer> m_layers;
  std::vector<RawObject> m_topInserts;
  std::vector<Entity> m_top;  // the drawing's entities, those of the blocks placed by each reference
  std::vector<Tag> m_topTags;  // and their layers and colours
  std::map<std::string, uint32_t> m_layerIds;  // layer keys by number; layer "0" is number 0
  std::vector<std::string> m_layerKeys;
  std::vector<const Layer*> m_layerOf;  // each number's entry of the layer table, once the file is read
  size_t m_count = 0;
  size_t m_points = 0;
  size_t m_references = 0;
};

}  // namespace

Drawing ReadDrawing(const char* data, size_t size, const std::function<void(int)>& progress,
                    const CodePageDecoder& decode) {
  return Reader(data, size, progress, decode).Read();
}

bool LooksLikeDrawing(const char* start, size_t size) {
  const size_t mark = Utf8MarkLength(start, size);
  const std::string_view text(start + mark, strnlen(start + mark, size - mark));
  PairReader pairs(text.data(), text.size());
  int code = 0;
  std::string_view value;
  do {
    if (pairs.Next(code, value) != PairReader::kPair) return false;
  } while (code == 999);  // comments
  if (code != 0 || value != "SECTION") return false;
  return pairs.Next(code, value) == PairReader::kPair && code == 2 && !value.empty();
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
    const Extents box = EntityBox(e);
    if (box.empty) continue;
    extents.Add({box.minX, box.minY});
    extents.Add({box.maxX, box.maxY});
  }
  return extents;
}

}  // namespace dxf
