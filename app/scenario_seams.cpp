#include "app/scenario_seams.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/os/os.h"
#include "platform/seams/seams.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace {

// Each request is one WM_COPYDATA of UTF-16 lines: its kind first, then its fields. The runner's result is
// the answer; the paths it chose are in the reply file, one UTF-8 line each.
constexpr ULONG_PTR kRequestTag = 0x44534352;  // "DSCR"

HWND g_runner = nullptr;
std::string g_replyPath;

LRESULT Ask(const std::u16string& lines) {
  COPYDATASTRUCT data{};
  data.dwData = kRequestTag;
  data.cbData = static_cast<DWORD>(lines.size() * sizeof(char16_t));
  data.lpData = const_cast<char16_t*>(lines.data());
  DWORD_PTR result = 0;
  // A runner that has gone answers nothing: the dialog counts as declined.
  if (::SendMessageTimeoutW(g_runner, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 600000,
                            &result) == 0) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

std::vector<std::u16string> ReplyPaths() {
  std::ifstream in(g_replyPath, std::ios::binary);
  std::vector<std::u16string> paths;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) paths.push_back(os::FromUtf8(line));
  }
  return paths;
}

std::u16string Number(unsigned long long value) {
  const std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

// Line breaks inside a field are sent as the escapes "\r" and "\n".
std::u16string Field(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c == u'\r') {
      out += u"\\r";
    } else if (c == u'\n') {
      out += u"\\n";
    } else {
      out += c;
    }
  }
  return out + u"\n";
}

class RunnerBoxes : public seams::MessageBoxSeam {
 public:
  int Show(const seams::MessageBoxRequest& request) override {
    const LRESULT answer = Ask(Field(u"box") + Field(Number(request.style)) + Field(request.html ? u"1" : u"0") +
                               Field(request.caption) + Field(request.text));
    return answer != 0 ? static_cast<int>(answer) : seams::DecliningAnswer(request.style);
  }
};

class RunnerDialogs : public seams::FileDialogSeam {
 public:
  seams::FileDialogResult ChooseFiles(const seams::FileDialogRequest& request) override {
    seams::FileDialogResult result;
    result.ok = Ask(Field(request.open ? u"open" : u"save") + Field(request.title) + Field(request.filter) +
                    Field(request.defaultExtension) + Field(request.initialName)) == 1;
    if (result.ok) result.paths = ReplyPaths();
    result.ok = result.ok && !result.paths.empty();
    return result;
  }
  std::u16string ChooseFolder(const seams::FolderRequest& request) override {
    if (Ask(Field(u"folder") + Field(request.title)) != 1) return {};
    const std::vector<std::u16string> paths = ReplyPaths();
    return paths.empty() ? std::u16string() : paths.front();
  }
};

// Nothing leaves the process during a scenario: the request is told to the runner and counts as done.
class RunnerShell : public seams::ShellSeam {
 public:
  intptr_t Execute(const seams::ShellRequest& request) override {
    Ask(Field(u"shell") + Field(request.verb) + Field(request.target) + Field(request.parameters));
    return 33;
  }
  uint32_t StartProcess(const std::u16string& commandLine, int) override {
    Ask(Field(u"process") + Field(commandLine));
    return 32;
  }
};

}  // namespace

bool InstallScenarioSeamsFromEnvironment() {
  const char* runner = std::getenv("DORVANE_SCENARIO_RUNNER");
  const char* reply = std::getenv("DORVANE_SCENARIO_REPLY");
  if (runner == nullptr || reply == nullptr || *runner == 0) return false;
  g_runner = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(runner, nullptr, 10)));
  if (!::IsWindow(g_runner)) return false;
  g_replyPath = reply;
  static RunnerBoxes boxes;
  static RunnerDialogs dialogs;
  static RunnerShell shell;
  seams::InstallMessageBoxes(&boxes);
  seams::InstallFileDialogs(&dialogs);
  seams::InstallShell(&shell);
  return true;
}
