#include "tools/ui_scenario/scenario_options.h"

#include <windows.h>

#include <cstdlib>
#include <utility>

#include "tools/ui_scenario/remote_controls.h"

namespace scenario {
namespace {

bool Number(const std::string& text, unsigned long long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtoull(text.c_str(), &end, 10);
  return *end == 0 && text[0] != '-';
}

// Back from the results leads to page 2 only after a Quick Scan or a File Trace of the image.
bool RescanFits(const Options& o, std::string* error) {
  if (o.rescanPartition < 0) return true;
  if (!o.snapshotLoad.empty() || o.mode == "extensive") {
    return *error = "--rescan-partition needs --mode quick or trace", false;
  }
  return true;
}

// How many arguments a step takes; -1 for no such step.
int StepArguments(const std::string& action) {
  static const std::pair<const char*, int> kSteps[] = {
      {"mode", 1}, {"next", 0},  {"back", 0},     {"home", 0},     {"pick", 1},    {"range", 3},
      {"choose", 1}, {"load", 1}, {"shell", 1},   {"tick-all", 0}, {"save", 0},    {"keys", 1},
      {"commands", 0}, {"stop", 0}, {"fs-roots", 0}, {"shot", 1}};
  for (const auto& step : kSteps) {
    if (action == step.first) return step.second;
  }
  return -1;
}

}  // namespace

const char* Usage() {
  return "usage: ui_scenario --program EXE --image IMAGE [--mode quick|extensive|trace]\n"
         "         [--partition N | --range CODE START COUNT [--choose K]] [--types EXT,...] [--file-size MB]\n"
         "         [--rescan-partition N]\n"
         "         [--snapshot-save FILE | --snapshot-load FILE] [--tick-all] [--save DIR] [--shots DIR]\n"
         "         [--no-tree] [--timing] [--temp-unchanged] [--timeout SECONDS] [--preview PATH [--shot FILE]]...\n"
         "         [--tick PATH | --untick PATH | --filters PATTERN,... | --no-filters]... [--command-line SNAPSHOT] [--expect-box TEXT]...\n"
         "         [--step ACTION [ARGUMENTS]]...\n";
}

bool ParseOptions(int argc, wchar_t** argv, Options* o, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = Utf8(std::wstring(argv[i]));
    const int left = argc - i - 1;
    auto next = [&] { return Utf8(std::wstring(argv[++i])); };
    unsigned long long n = 0;
    if (a == "--program" && left >= 1) {
      o->program = next();
    } else if (a == "--image" && left >= 1) {
      o->image = next();
    } else if (a == "--mode" && left >= 1) {
      o->mode = next();
      o->modeGiven = true;
      if (o->mode != "quick" && o->mode != "extensive" && o->mode != "trace") return *error = "unknown mode " + o->mode, false;
    } else if (a == "--partition" && left >= 1) {
      if (!Number(next(), &n) || n > 1000) return *error = "bad --partition", false;
      o->partition = static_cast<int>(n);
    } else if (a == "--rescan-partition" && left >= 1) {
      if (!Number(next(), &n) || n > 1000) return *error = "bad --rescan-partition", false;
      o->rescanPartition = static_cast<int>(n);
    } else if (a == "--range" && left >= 3) {
      unsigned long long code = 0;
      if (!Number(next(), &code) || (code != 100 && code != 200 && code != 300)) return *error = "bad --range code", false;
      if (!Number(next(), &o->rangeStart) || !Number(next(), &o->rangeCount) || o->rangeCount == 0) {
        return *error = "bad --range START COUNT", false;
      }
      o->rangeCode = static_cast<unsigned>(code);
    } else if (a == "--choose" && left >= 1) {
      if (!Number(next(), &n) || n == 0 || n > 1000) return *error = "bad --choose", false;
      o->choose = static_cast<int>(n);
    } else if (a == "--types" && left >= 1) {
      o->types = next();
    } else if (a == "--file-size" && left >= 1) {
      if (!Number(next(), &n) || n == 0 || n > 20) return *error = "bad --file-size", false;
      o->fileSize = static_cast<unsigned>(n);
    } else if (a == "--tick-all") {
      o->tickAll = true;
    } else if (a == "--save" && left >= 1) {
      o->saveDir = next();
    } else if (a == "--shots" && left >= 1) {
      o->shots = next();
    } else if (a == "--snapshot-save" && left >= 1) {
      o->snapshotSave = next();
    } else if (a == "--snapshot-load" && left >= 1) {
      o->snapshotLoad = next();
    } else if (a == "--no-tree") {
      o->printTree = false;
    } else if (a == "--timing") {
      o->timing = true;
    } else if (a == "--temp-unchanged") {
      o->tempUnchanged = true;
    } else if (a == "--preview" && left >= 1) {
      o->previews.push_back({next(), ""});
    } else if (a == "--shot" && left >= 1) {
      if (o->previews.empty()) return *error = "--shot follows a --preview", false;
      o->previews.back().shot = next();
    } else if ((a == "--tick" || a == "--untick") && left >= 1) {
      o->ticks.push_back({next(), a == "--tick"});
      if (o->ticks.back().path.empty() || o->ticks.back().path[0] != '/') return *error = a + " takes a path from /", false;
    } else if (a == "--filters" && left >= 1) {
      o->ticks.push_back({next(), true, true});
    } else if (a == "--no-filters") {
      o->ticks.push_back({"", true, true});
    } else if (a == "--command-line" && left >= 1) {
      o->commandLine = next();
    } else if (a == "--expect-box" && left >= 1) {
      o->expectedBoxes.push_back(next());
    } else if (a == "--step" && left >= 1) {
      Step step{next(), {}};
      const int count = StepArguments(step.action);
      if (count < 0 || argc - i - 1 < count) return *error = "bad --step " + step.action, false;
      for (int k = 0; k < count; ++k) step.args.push_back(next());
      o->steps.push_back(step);
    } else if (a == "--timeout" && left >= 1) {
      if (!Number(next(), &n) || n == 0 || n > 86400) return *error = "bad --timeout", false;
      o->timeoutSeconds = static_cast<int>(n);
    } else {
      return *error = "unknown argument " + a, false;
    }
  }
  if (o->program.empty()) return *error = "--program is needed", false;
  if (o->image.empty() && o->snapshotLoad.empty() && o->commandLine.empty()) return *error = "--image is needed", false;
  return RescanFits(*o, error);
}

}  // namespace scenario
