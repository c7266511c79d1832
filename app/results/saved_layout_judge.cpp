#include "app/results/saved_layout_judge.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

#include "engine/save/save_test_support.h"
#include "platform/os/os.h"

namespace judge {
namespace {

constexpr uint32_t kRoot = 0xFFFFFFFFu;  // the root folder, whatever its id

std::u16string Joined(const std::vector<std::u16string>& names) {
  std::u16string path;
  for (const std::u16string& name : names) path += (path.empty() ? u"" : u"/") + name;
  return path;
}

std::string Utf8(const std::vector<std::u16string>& folder, const std::u16string& name) {
  return os::ToUtf8(folder.empty() ? name : Joined(folder) + u"/" + name);
}

void Walk(const std::u16string& at, std::vector<std::u16string>& folder, size_t head, std::vector<Written>& out) {
  for (const std::u16string& name : save_test::FolderNames(at)) {
    const std::u16string path = at + u"\\" + name;
    if (os::IsFolder(path)) {
      out.push_back({folder, name, true, {}});
      folder.push_back(name);
      Walk(path, folder, head, out);
      folder.pop_back();
    } else {
      Bytes data = save_test::ReadAll(path);
      if (data.size() > head) data.resize(head);
      out.push_back({folder, name, false, data});
    }
  }
}

// The tree folder a written file at depth k (below the chosen folder) lies below when it is the meant m: the root, or
// a folder of m's; none when the file lies deeper than m's folder, or its folders are not m's last ones.
std::optional<uint32_t> TopOf(const Meant& m, const Written& w) {
  const size_t p = m.folders.size(), k = w.folder.size();
  if (k > p || m.name != BaseName(w.name)) return std::nullopt;
  for (size_t i = 0; i < k; ++i) {
    if (BaseName(w.folder[i]) != m.folderNames[p - k + i]) return std::nullopt;
  }
  return p == k ? kRoot : m.folders[p - k - 1];
}

// The folders of the tree a written file's folders hold when it is the meant m (which TopOf fits): each written
// folder's path, its names joined, with the folder it holds.
std::vector<std::pair<std::u16string, uint32_t>> FoldersHeld(const Meant& m, const Written& w) {
  std::vector<std::pair<std::u16string, uint32_t>> held;
  const size_t level = m.folders.size() - w.folder.size();
  std::vector<std::u16string> path;
  for (size_t j = 0; j < w.folder.size(); ++j) {
    path.push_back(w.folder[j]);
    held.emplace_back(Joined(path), m.folders[level + j]);
  }
  return held;
}

// How many of a written file's folders, were it the meant m, hold a deleted folder of the tree under a plain name (no
// "Copy (n ) of") or a live one under a copy's name. Of names alike that nothing else tells apart, the written files
// are the same whichever is which: they are taken as the save's rule would place them, live folders keeping the
// plain names.
size_t Misnamed(const Meant& m, const Written& w) {
  const size_t level = m.folders.size() - w.folder.size();
  size_t count = 0;
  for (size_t j = 0; j < w.folder.size() && m.folderDeleted.size() == m.folders.size(); ++j) {
    if ((BaseName(w.folder[j]) == w.folder[j]) == m.folderDeleted[level + j]) ++count;
  }
  return count;
}

// The meant file each written file holds, by its bytes; null for a folder and for a file without bytes (any of them
// may be it). The names of one file (hard links) hold one file's bytes, and may read alike in two folders of one
// name: the files known by their bytes and names alone tell the level they lie below and which folder of the tree
// each written folder holds, and of the names alike each written file is the one that agrees with those, each name
// taken once (where nothing tells them apart, as Misnamed says).
std::vector<const Meant*> Sources(const std::vector<Meant>& meant, const std::vector<Written>& written) {
  std::vector<const Meant*> sources(written.size(), nullptr);
  std::vector<std::vector<const Meant*>> fitting(written.size());
  for (size_t i = 0; i < written.size(); ++i) {
    const Written& w = written[i];
    if (w.isFolder || w.data.empty()) continue;
    for (const Meant& m : meant) {
      if (m.data != w.data) continue;
      if (sources[i] == nullptr) sources[i] = &m;
      if (TopOf(m, w)) fitting[i].push_back(&m);
    }
  }
  std::optional<uint32_t> common;
  std::map<std::u16string, uint32_t> held;
  std::set<const Meant*> taken;
  std::vector<bool> settled(written.size(), false);
  const auto settle = [&](size_t i, const Meant* m) {
    sources[i] = m;
    settled[i] = true;
    taken.insert(m);
    if (!common) common = TopOf(*m, written[i]);
    for (const auto& [path, folder] : FoldersHeld(*m, written[i])) held.emplace(path, folder);
  };
  const auto agreeing = [&](size_t i) {
    std::vector<const Meant*> agree;
    for (const Meant* m : fitting[i]) {
      if (taken.count(m) != 0 || (common && TopOf(*m, written[i]) != common)) continue;
      const std::vector<std::pair<std::u16string, uint32_t>> folders = FoldersHeld(*m, written[i]);
      if (std::all_of(folders.begin(), folders.end(), [&held](const auto& f) {
            const auto known = held.find(f.first);
            return known == held.end() || known->second == f.second;
          })) {
        agree.push_back(m);
      }
    }
    return agree;
  };
  for (bool progress = true; progress;) {
    progress = false;
    for (size_t i = 0; i < written.size(); ++i) {
      if (settled[i] || fitting[i].empty()) continue;
      const std::vector<const Meant*> agree = agreeing(i);
      if (agree.size() == 1) settle(i, agree.front());
      progress = progress || agree.size() == 1;
    }
    // Nothing settles alone: of every name that agrees with some written file, the pair the fewest folders misname.
    std::optional<std::tuple<size_t, size_t, const Meant*>> best;  // misnamed, written, meant
    for (size_t i = 0; i < written.size(); ++i) {
      if (settled[i] || fitting[i].empty()) continue;
      for (const Meant* m : agreeing(i)) {
        if (!best || Misnamed(*m, written[i]) < std::get<0>(*best)) best.emplace(Misnamed(*m, written[i]), i, m);
      }
      if (!best) best.emplace(0, i, fitting[i].front());
    }
    if (best) settle(std::get<1>(*best), std::get<2>(*best));
    progress = best.has_value();
  }
  return sources;
}

std::u16string CopyOf(size_t n, const std::u16string& name) {
  return u"Copy (" + os::Decimal(n) + u" ) of " + name;
}

// Whether each written folder (by its path, names joined) holds a deleted folder of the tree, as the files meant
// below it tell; a folder holding no such file is not known.
std::map<std::u16string, bool> DeletedFolders(const std::vector<const Meant*>& sources, const std::vector<Written>& written) {
  std::map<std::u16string, bool> deleted;
  for (size_t i = 0; i < written.size(); ++i) {
    const Written& w = written[i];
    const Meant* m = sources[i];
    if (m == nullptr || w.folder.size() > m->folders.size() || m->folderDeleted.size() != m->folders.size()) continue;
    const size_t below = m->folders.size() - w.folder.size();
    std::vector<std::u16string> path;
    for (size_t i = 0; i < w.folder.size(); ++i) {
      path.push_back(w.folder[i]);
      deleted.emplace(Joined(path), m->folderDeleted[below + i]);
    }
  }
  return deleted;
}

// What is wrong with one group of a folder: the items of one name.
std::string GroupProblem(const std::map<const Written*, const Meant*>& sourceOf,
                         const std::map<std::u16string, bool>& deletedFolders, const std::u16string& base,
                         const std::vector<const Written*>& items) {
  const auto source = [&sourceOf](const Written* w) {
    const auto found = sourceOf.find(w);
    return found == sourceOf.end() ? nullptr : found->second;
  };
  std::vector<std::u16string> names, expected;
  const Written* plain = nullptr;
  bool folder = false, live = false, liveFolder = false;
  const auto deletedFolder = [&](const Written& w) -> std::optional<bool> {
    std::vector<std::u16string> path = w.folder;
    path.push_back(w.name);
    const auto known = deletedFolders.find(Joined(path));
    return known == deletedFolders.end() ? std::nullopt : std::optional<bool>(known->second);
  };
  for (size_t i = 0; i < items.size(); ++i) {
    names.push_back(items[i]->name);
    expected.push_back(i == 0 ? base : CopyOf(i, base));
    if (items[i]->name == base) plain = items[i];
    folder |= items[i]->isFolder;
    const Meant* from = source(items[i]);
    live |= from != nullptr && !from->deleted;
    liveFolder |= items[i]->isFolder && deletedFolder(*items[i]) == std::optional<bool>(false);
  }
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  const std::string where = Utf8(items[0]->folder, base);
  if (names != expected) return "the names of " + where + " are not it and its copies numbered from 1";
  if (folder && !plain->isFolder) return "a file took the name of the folder " + where;
  if (liveFolder && deletedFolder(*plain) == std::optional<bool>(true)) {
    return "a deleted folder took the name " + where + " of a live one";
  }
  const Meant* held = source(plain);
  if (!folder && live && held != nullptr && held->deleted) return "a deleted file took the name " + where + " of a live one";
  return "";
}

}  // namespace

bool Written::operator<(const Written& o) const {
  return std::tie(folder, name, isFolder, data) < std::tie(o.folder, o.name, o.isFolder, o.data);
}

bool Written::operator==(const Written& o) const {
  return folder == o.folder && name == o.name && isFolder == o.isFolder && data == o.data;
}

std::vector<Written> ReadWritten(const std::u16string& root, size_t head) {
  std::vector<Written> out;
  std::vector<std::u16string> folder;
  Walk(root, folder, head, out);
  std::sort(out.begin(), out.end());
  return out;
}

std::u16string BaseName(const std::u16string& name) {
  if (name.rfind(u"Copy (", 0) != 0) return name;
  const size_t of = name.find(u" ) of ");
  return of == std::u16string::npos ? name : name.substr(of + 6);
}

std::string Describe(const std::vector<Written>& written) {
  std::string text;
  for (const Written& w : written) {
    if (!w.isFolder) text += " " + Utf8(w.folder, w.name) + "(" + std::to_string(w.data.size()) + ")";
  }
  return text.empty() ? " nothing" : text;
}

std::string Files(const std::vector<Meant>& meant, const std::vector<Written>& written) {
  std::vector<std::pair<std::u16string, Bytes>> wanted, got;
  for (const Meant& m : meant) wanted.emplace_back(m.name, m.data);
  for (const Written& w : written) {
    if (!w.isFolder) got.emplace_back(BaseName(w.name), w.data);
  }
  std::sort(wanted.begin(), wanted.end());
  std::sort(got.begin(), got.end());
  if (wanted == got) return "";
  std::string missing, extra;
  for (const auto& f : wanted) {
    if (!std::binary_search(got.begin(), got.end(), f)) missing += " " + os::ToUtf8(f.first);
  }
  for (const auto& f : got) {
    if (!std::binary_search(wanted.begin(), wanted.end(), f)) extra += " " + os::ToUtf8(f.first);
  }
  return "other files than meant: missing" + (missing.empty() ? " none" : missing) + ", not meant" +
         (extra.empty() ? " none" : extra) + (missing.empty() && extra.empty() ? " (a file twice)" : "");
}

std::string Names(const std::vector<Meant>& meant, const std::vector<Written>& written) {
  std::map<std::pair<std::u16string, std::u16string>, std::vector<const Written*>> groups;
  for (const Written& w : written) groups[{Joined(w.folder), BaseName(w.name)}].push_back(&w);
  const std::vector<const Meant*> sources = Sources(meant, written);
  std::map<const Written*, const Meant*> sourceOf;
  for (size_t i = 0; i < written.size(); ++i) sourceOf[&written[i]] = sources[i];
  const std::map<std::u16string, bool> deletedFolders = DeletedFolders(sources, written);
  for (const auto& [key, items] : groups) {
    const std::string problem = GroupProblem(sourceOf, deletedFolders, key.second, items);
    if (!problem.empty()) return problem;
  }
  return "";
}

std::string Placement(const std::vector<Meant>& meant, const std::vector<Written>& written,
                      const std::vector<uint32_t>& wholeTops, const std::vector<std::vector<uint32_t>>& ticked) {
  bool first = true;
  uint32_t common = kRoot;
  std::map<std::u16string, uint32_t> folderAt;   // written folder -> the folder of the tree it holds
  std::map<uint32_t, std::u16string> placeOf;    // and back
  const std::vector<const Meant*> sources = Sources(meant, written);
  for (size_t i = 0; i < written.size(); ++i) {
    const Written& w = written[i];
    const Meant* m = sources[i];
    if (m == nullptr) continue;
    const std::string what = Utf8(w.folder, w.name);
    const size_t p = m->folders.size(), k = w.folder.size();
    if (k > p) return what + " lies deeper than its folder in the tree";
    for (size_t i = 0; i < k; ++i) {
      if (BaseName(w.folder[i]) != m->folderNames[p - k + i]) return what + " is not a path of the results tree";
    }
    const size_t level = p - k;
    const uint32_t top = level == 0 ? kRoot : m->folders[level - 1];
    if (!first && top != common) return what + " lies below another level than the files before it";
    first = false;
    common = top;
    const uint32_t own = p == 0 ? kRoot : m->folders[p - 1];
    const std::u16string place = Joined(w.folder);
    if (!folderAt.emplace(place, own).second && folderAt[place] != own) return what + ": two folders merged";
    if (!placeOf.emplace(own, place).second && placeOf[own] != place) return what + ": one folder split";
    for (uint32_t whole : wholeTops) {
      const auto at = std::find(m->folders.begin(), m->folders.end(), whole);
      if (at != m->folders.end() && static_cast<size_t>(at - m->folders.begin()) < level) {
        return what + ": a folder ticked whole is not saved as itself";
      }
    }
  }
  if (first || ticked.empty()) return "";
  // The deepest folder holding everything ticked: the longest start the ticked folders' chains share.
  std::vector<uint32_t> deepest = ticked.front();
  for (const std::vector<uint32_t>& chain : ticked) {
    deepest.erase(std::mismatch(deepest.begin(), deepest.end(), chain.begin(), chain.end()).first, deepest.end());
  }
  const uint32_t wanted = deepest.size() < 2 ? kRoot : deepest[deepest.size() - 2];
  if (common != wanted) return "the folder holding everything ticked is not saved as itself below the chosen folder";
  return "";
}

}  // namespace judge
