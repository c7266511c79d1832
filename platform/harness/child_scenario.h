// Scenarios that start the application once each, in a child process of the test program. The test
// program runs again on its test Scenario.Run, which reads the scenario's name and its own variables
// from the environment (<prefix>_SCENARIO, <prefix>_REPORT, ...) and writes what it saw to the report
// file, one "key=value" line each; the test reads the lines back.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/harness/scripted_seams.h"

namespace harness {

// The variable's value ("" when it is not set), and UTF-8 text as the Win32 calls take it.
std::string EnvironmentText(const char* name);
std::wstring WideFromUtf8(const std::string& utf8);

class ScenarioReport {
 public:
  explicit ScenarioReport(const std::string& path);
  ~ScenarioReport();
  ScenarioReport(const ScenarioReport&) = delete;
  ScenarioReport& operator=(const ScenarioReport&) = delete;

  void Line(const std::string& key, const std::string& value);
  void Line(const std::string& key, long long value);
  // "box=<kind> <text>" for each box shown, line breaks written as the escapes "\r\n".
  void Boxes(const ScriptedMessageBoxes& boxes);

 private:
  FILE* out_;
};

struct ScenarioOutcome {
  DWORD exitCode = 1;
  std::vector<std::string> lines;
  bool Has(const std::string& line) const;
  // The values of every line of this key, in order.
  std::vector<std::string> All(const std::string& key) const;
  std::string Text() const;
};

// Runs the scenario in a child process: sets <prefix>_SCENARIO, <prefix>_REPORT (a file in the temporary
// folder) and the variables, starts the test program on Scenario.Run and waits for it, two minutes at
// most.
ScenarioOutcome RunScenarioChild(const std::string& prefix, const std::string& scenario,
                                 const std::vector<std::pair<std::string, std::string>>& variables = {});

}  // namespace harness
