#include "platform/harness/child_scenario.h"

#include <cstdio>
#include <cstdlib>

#include "platform/os/os.h"

namespace harness {

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

std::string EnvironmentText(const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? value : "";
}

std::wstring WideFromUtf8(const std::string& utf8) {
  const std::u16string text = os::FromUtf8(utf8);
  return std::wstring(text.begin(), text.end());
}

ScenarioReport::ScenarioReport(const std::string& path) : out_(_wfopen(WideFromUtf8(path).c_str(), L"wb")) {}

ScenarioReport::~ScenarioReport() {
  if (out_ != nullptr) fclose(out_);
}

void ScenarioReport::Line(const std::string& key, const std::string& value) {
  if (out_ == nullptr) return;
  const std::string line = key + "=" + value + "\n";
  fwrite(line.data(), 1, line.size(), out_);
  fflush(out_);
}

void ScenarioReport::Line(const std::string& key, long long value) { Line(key, std::to_string(value)); }

void ScenarioReport::Boxes(const ScriptedMessageBoxes& boxes) {
  for (const auto& shown : boxes.Log()) {
    std::string text = os::ToUtf8(shown.text);
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
      text.replace(at, 2, "\\r\\n");
    }
    Line("box", std::to_string(shown.kind()) + " " + text);
  }
}

bool ScenarioOutcome::Has(const std::string& line) const {
  for (const std::string& l : lines) {
    if (l == line) return true;
  }
  return false;
}

std::vector<std::string> ScenarioOutcome::All(const std::string& key) const {
  std::vector<std::string> values;
  for (const std::string& l : lines) {
    if (l.rfind(key + "=", 0) == 0) values.push_back(l.substr(key.size() + 1));
  }
  return values;
}

std::string ScenarioOutcome::Text() const {
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  return all;
}

ScenarioOutcome RunScenarioChild(const std::string& prefix, const std::string& scenario,
                                 const std::vector<std::pair<std::string, std::string>>& variables) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  std::wstring lowerPrefix = WideFromUtf8(prefix);
  for (wchar_t& c : lowerPrefix) c = static_cast<wchar_t>(towlower(c));
  const std::wstring report = std::wstring(folder) + lowerPrefix + L"_" + WideFromUtf8(scenario) + L".txt";
  ::DeleteFileW(report.c_str());
  const std::wstring scenarioVariable = WideFromUtf8(prefix + "_SCENARIO");
  ::SetEnvironmentVariableW(scenarioVariable.c_str(), WideFromUtf8(scenario).c_str());
  ::SetEnvironmentVariableW(WideFromUtf8(prefix + "_REPORT").c_str(), report.c_str());
  for (const auto& v : variables) {
    ::SetEnvironmentVariableW(WideFromUtf8(v.first).c_str(), WideFromUtf8(v.second).c_str());
  }
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=Scenario.Run";
  // A sharded test program: the child runs its one test whatever shard the parent is.
  for (const wchar_t* name : {L"GTEST_TOTAL_SHARDS", L"GTEST_SHARD_INDEX", L"GTEST_SHARD_STATUS_FILE"}) {
    ::SetEnvironmentVariableW(name, nullptr);
  }
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ScenarioOutcome outcome;
  const BOOL made = ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  // This program's own Scenario.Run is skipped again.
  ::SetEnvironmentVariableW(scenarioVariable.c_str(), nullptr);
  if (!made) return outcome;
  if (::WaitForSingleObject(pi.hProcess, 120000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 98);
  ::GetExitCodeProcess(pi.hProcess, &outcome.exitCode);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  FILE* in = _wfopen(report.c_str(), L"rb");
  if (in == nullptr) return outcome;
  std::string line;
  for (int c = fgetc(in); c != EOF; c = fgetc(in)) {
    if (c == '\n') {
      outcome.lines.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  if (!line.empty()) outcome.lines.push_back(line);
  fclose(in);
  return outcome;
}

}  // namespace harness
