#include "app/results/result_checks.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace results {

Item ResultChecks::Top() const { return tree_.FirstChild(0); }

void ResultChecks::Show(Item node, CheckState state) {
  if (node == 0) return;
  tree_.SetState(node, state);
  if (state == CheckState::kChecked) {
    sets_.checkedFolders.Insert(Key(node));
    sets_.checkedNodes.Insert(Key(node));
  } else {
    sets_.checkedFolders.Erase(Key(node));
    sets_.checkedNodes.Erase(Key(node));
  }
}

std::optional<uint32_t> ResultChecks::FolderIdOf(Item node) const {
  if (records_.Kind() != ResultKind::kFat && records_.Kind() != ResultKind::kNtfs) return std::nullopt;
  if (std::optional<uint32_t> id = records_.FolderOfNode(Key(node))) return id;
  if (IsTop(node)) return records_.RootFolderId();
  return std::nullopt;
}

// Pre-order, with an explicit stack: a deep tree cannot exhaust the call stack.
std::vector<Item> ResultChecks::Subtree(Item node) const {
  std::vector<Item> nodes;
  std::vector<Item> pending{node};
  while (!pending.empty()) {
    const Item current = pending.back();
    pending.pop_back();
    nodes.push_back(current);
    std::vector<Item> children;
    for (Item child = tree_.FirstChild(current); child != 0; child = tree_.NextSibling(child)) {
      children.push_back(child);
    }
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  return nodes;
}

bool ResultChecks::AllChildren(Item node, CheckState state) const {
  for (Item child = tree_.FirstChild(node); child != 0; child = tree_.NextSibling(child)) {
    if (tree_.GetState(child) != state) return false;
  }
  return true;
}

ResultChecks::OwnMarks ResultChecks::OwnFileMarks(Item node) const {
  OwnMarks marks;
  const std::optional<uint32_t> folder = FolderIdOf(node);
  if (!folder) return marks;
  for (uint32_t id : records_.FilesOf({*folder})) {
    if (sets_.fileMarks.Contains(id)) {
      marks.any = true;
    } else {
      marks.all = false;
    }
  }
  return marks;
}

// A folder shows checked only when everything in it shows ticked (it is then saved whole), and unchecked
// only when nothing in it does; a single unticked file, wherever it stands in the folder, keeps it partly
// checked.
CheckState ResultChecks::StateFromContents(Item node) const {
  const OwnMarks own = OwnFileMarks(node);
  if (own.all && AllChildren(node, CheckState::kChecked)) return CheckState::kChecked;
  if (!own.any && AllChildren(node, CheckState::kUnchecked)) return CheckState::kUnchecked;
  return CheckState::kPartly;
}

void ResultChecks::RecomputeAncestors(Item node) {
  for (Item parent = tree_.Parent(node); parent != 0; parent = tree_.Parent(parent)) {
    Show(parent, StateFromContents(parent));
  }
}

void ResultChecks::SetTreeCheckDeep(Item node, bool on) {
  if (node == 0) return;
  for (Item n : Subtree(node)) Show(n, on ? CheckState::kChecked : CheckState::kUnchecked);
  RecomputeAncestors(node);
}

void ResultChecks::ToggleTreeCheck(Item node) {
  if (node == 0) return;
  SetTreeCheckDeep(node, tree_.GetState(node) == CheckState::kUnchecked);
}

void ResultChecks::ClearChecks(Item node) {
  if (node == 0) return;
  for (Item n : Subtree(node)) Show(n, CheckState::kUnchecked);
}

void ResultChecks::MarkFiles(const std::vector<Item>& nodes, bool on, bool ownOnly) {
  std::unordered_set<uint32_t> folders;
  bool top = false;
  for (Item n : nodes) {
    if (!ownOnly) on ? sets_.checkedFolders.Insert(Key(n)) : sets_.checkedFolders.Erase(Key(n));
    if (std::optional<uint32_t> id = FolderIdOf(n)) folders.insert(*id);
    top = top || IsTop(n);
  }
  std::vector<uint32_t> changed;
  for (uint32_t id : records_.FilesOf(folders)) {
    if (on) {
      if (sets_.fileMarks.Insert(id)) changed.push_back(id);
    } else {
      if (sets_.fileMarks.Erase(id)) changed.push_back(id);
      if (!ownOnly) sets_.saveFiles.Erase(id);
    }
  }
  // The save walk never returns the top node: a ticked top node saves the root's files one by one.
  if (on && top && !ownOnly) {
    for (uint32_t id : records_.FilesOf({records_.RootFolderId()})) sets_.saveFiles.Insert(id);
  }
  FollowOtherNames(changed, folders);
}

// A file of several names (hard links) is one file with one box: ticked under one name, it shows ticked under
// each, and every folder that holds another name of it shows what it now holds.
void ResultChecks::FollowOtherNames(const std::vector<uint32_t>& files, const std::unordered_set<uint32_t>& done) {
  std::unordered_set<uint32_t> others;
  for (uint32_t id : files) {
    const std::vector<uint32_t> parents = records_.ParentsOfFile(id);
    if (parents.size() < 2) continue;
    for (uint32_t parent : parents) {
      if (done.count(parent) == 0) others.insert(parent);
    }
  }
  FollowFolders(others);
}

// Each folder's node (the top node's for the root or a folder without a node) and every ancestor of it,
// deepest first and each once: a node shows what its files and its children, already settled, hold.
void ResultChecks::FollowFolders(const std::unordered_set<uint32_t>& folderIds) {
  std::unordered_map<Item, size_t> depth;
  for (uint32_t folder : folderIds) {
    Item node = records_.NodeOfFolder(folder);
    if (node == 0) node = Top();
    std::vector<Item> chain;
    for (Item n = node; n != 0 && depth.count(n) == 0; n = tree_.Parent(n)) chain.push_back(n);
    if (chain.empty()) continue;
    size_t below = 0;  // the chain's top node's depth
    for (Item n = tree_.Parent(chain.back()); n != 0; n = tree_.Parent(n)) ++below;
    for (size_t i = chain.size(); i > 0; --i) depth[chain[i - 1]] = below++;
  }
  std::vector<std::pair<size_t, Item>> order;
  for (const auto& [node, d] : depth) order.emplace_back(d, node);
  std::sort(order.begin(), order.end(), std::greater<>());
  for (const auto& [d, node] : order) Show(node, StateFromContents(node));
}

void ResultChecks::MarkFolderFiles(Item node) {
  if (node != 0) MarkFiles(Subtree(node), true, false);
}

void ResultChecks::UnmarkFolderFiles(Item node) {
  if (node != 0) MarkFiles(Subtree(node), false, false);
}

void ResultChecks::MarkFolderOwnFiles(Item node) {
  if (node != 0) MarkFiles({node}, true, true);
}

void ResultChecks::UnmarkFolderOwnFiles(Item node) {
  if (node != 0) MarkFiles({node}, false, true);
}

bool ResultChecks::ClickTreeBox(Item node) {
  const ResultKind kind = records_.Kind();
  if (node == 0 || (kind != ResultKind::kFat && kind != ResultKind::kNtfs)) return false;
  const CheckState state = tree_.GetState(node);
  // FAT ticks a half-ticked folder whole first; NTFS unticks it.
  const bool check = state == CheckState::kUnchecked ||
                     (kind == ResultKind::kFat && !AllChildren(node, CheckState::kChecked));
  if (check) {
    MarkFolderFiles(node);
    SetTreeCheckDeep(node, true);
  } else {
    UnmarkFolderFiles(node);
    if (kind == ResultKind::kFat && IsTop(node)) {
      ClearChecks(node);
    } else {
      SetTreeCheckDeep(node, false);
    }
  }
  return true;
}

void ResultChecks::AncestorsFollowRows(Item node, Item listed, RowsState rows) {
  if (node == 0 || records_.Kind() != ResultKind::kFat) return;
  // The rows say something of the node only when they list it or its parent; another folder's rows would
  // show the node's ancestors partly with nothing ticked beneath them, or everything ticked.
  const Item parent = tree_.Parent(node);
  if (listed != node && listed != parent) return;
  // Rows all unchecked under an unchecked node leave the ancestors as the click computed them: showing them
  // partly checked would claim a tick where there is none.
  if (rows == RowsState::kMixed) {
    if (parent == 0 || IsTop(parent)) return;
    for (Item a = parent; a != 0; a = tree_.Parent(a)) SetTreePartial(a);
  } else if (tree_.GetState(node) == CheckState::kChecked) {
    SetTreeCheck(node);
  } else {
    ClearTreeCheck(node);
  }
}

void ResultChecks::FileRowToggled(uint32_t fileId, bool checked) {
  if (checked) {
    sets_.fileMarks.Insert(fileId);
    sets_.saveFiles.Insert(fileId);
  } else {
    sets_.fileMarks.Erase(fileId);
    sets_.saveFiles.Erase(fileId);
  }
}

void ResultChecks::FolderRowToggled(Item node, bool checked) {
  if (node == 0) return;
  if (checked) {
    MarkFolderFiles(node);
  } else {
    UnmarkFolderFiles(node);
  }
  SetTreeCheckDeep(node, checked);
}

// The rows cannot speak for the folder: a filter may hide some of its files, and a subfolder's row shows an
// unticked box while files in it are ticked. What the rows' boxes changed is in the marks already; the
// folder and its ancestors follow what they hold.
void ResultChecks::FileRowClicked(uint32_t fileId, bool checked) {
  FileRowToggled(fileId, checked);
  // A file of several names (hard links) is one file, ticked under each: every folder that lists it follows.
  const std::vector<uint32_t> parents = records_.ParentsOfFile(fileId);
  FollowFolders(parents.empty() ? std::unordered_set<uint32_t>{records_.RootFolderId()}
                                : std::unordered_set<uint32_t>(parents.begin(), parents.end()));
}

void ResultChecks::FolderRowClicked(Item node, bool checked) {
  FolderRowToggled(node, checked);
  const std::optional<uint32_t> folder = records_.FolderOfNode(Key(node));
  const std::optional<uint32_t> parent = folder ? records_.ParentOfFolder(*folder) : std::nullopt;
  UpdateFolderFromRows(parent.value_or(records_.RootFolderId()));
}

void ResultChecks::OwnFilesFollowNode(Item node) {
  if (node == 0 || records_.Kind() != ResultKind::kNtfs) return;
  const CheckState state = tree_.GetState(node);
  if (state == CheckState::kChecked) MarkFolderOwnFiles(node);
  if (state == CheckState::kUnchecked) UnmarkFolderOwnFiles(node);
}

void ResultChecks::UpdateFolderFromRows(uint32_t folderId) {
  Item node = records_.NodeOfFolder(folderId);
  if (node == 0) node = Top();
  if (node == 0) return;
  Show(node, StateFromContents(node));
  RecomputeAncestors(node);
}

void ResultChecks::TypeNodeFollowsHits(Item node, const std::vector<uint32_t>& hits) {
  if (node == 0) return;
  bool all = true, any = false;
  for (uint32_t id : hits) {
    const bool ticked = sets_.fileMarks.Contains(id);
    all = all && ticked;
    any = any || ticked;
  }
  Show(node, all && any ? CheckState::kChecked : any ? CheckState::kPartly : CheckState::kUnchecked);
  RecomputeAncestors(node);
}

void ResultChecks::FileTraceNodeToggled(Item node, const std::vector<uint32_t>& hits, bool checked) {
  if (node == 0) return;
  SetTreeCheckDeep(node, checked);
  for (uint32_t id : hits) FileRowToggled(id, checked);
}

bool ResultChecks::FileTraceClickTicks(Item node) const {
  return tree_.GetState(node) == CheckState::kUnchecked || !AllChildren(node, CheckState::kChecked);
}

std::vector<Item> ResultChecks::CollectSaveFolders() {
  sets_.saveFolders.Clear();
  std::vector<Item> saved;
  std::vector<Item> pending;
  std::unordered_set<uint32_t> notWhole;  // folders walked through: their ticked files are saved one by one
  for (Item top = Top(); top != 0; top = tree_.NextSibling(top)) {
    if (std::optional<uint32_t> id = FolderIdOf(top)) notWhole.insert(*id);
    for (Item child = tree_.FirstChild(top); child != 0; child = tree_.NextSibling(child)) pending.push_back(child);
  }
  std::reverse(pending.begin(), pending.end());
  while (!pending.empty()) {
    const Item node = pending.back();
    pending.pop_back();
    if (tree_.GetState(node) == CheckState::kChecked) {
      saved.push_back(node);
      sets_.saveFolders.Insert(Key(node));
      // Saved whole: none of its files is saved a second time on its own.
      MarkFilesSavedWhole(node);
      continue;
    }
    if (std::optional<uint32_t> id = FolderIdOf(node)) notWhole.insert(*id);
    std::vector<Item> children;
    for (Item child = tree_.FirstChild(node); child != 0; child = tree_.NextSibling(child)) children.push_back(child);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  // A folder left partly ticked still shows most of its files ticked (ticked whole, then one file or one
  // subfolder unticked): those files are saved on their own, or Save would drop files shown ticked.
  for (uint32_t id : records_.FilesOf(notWhole)) {
    if (sets_.fileMarks.Contains(id)) sets_.saveFiles.Insert(id);
  }
  return saved;
}

void ResultChecks::MarkFilesSavedWhole(Item node) {
  std::unordered_set<uint32_t> folders;
  for (Item n : Subtree(node)) {
    if (std::optional<uint32_t> id = FolderIdOf(n)) folders.insert(*id);
  }
  for (uint32_t id : records_.FilesOf(folders)) sets_.saveFiles.Erase(id);
}

}  // namespace results
