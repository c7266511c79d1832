#include "tools/enginectl/headless_scan.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "engine/records/scan_control.h"
#include "platform/os/os.h"

namespace {

host::Hosts With(host::Hosts hosts, host::MessageHost* messages, host::SecondDisplayHost* panel,
                 host::ScanPageHost* page, host::ResultTreeHost* tree, host::ResultListHost* list,
                 host::FileSystemTreeHost* fileSystemTree, host::FileSystemFormHost* fileSystemForm,
                 host::FileSystemViewHost* fileSystemView) {
  hosts.messages = messages;
  hosts.secondDisplay = panel;
  hosts.scanPage = page;
  hosts.resultTree = tree;
  hosts.resultList = list;
  hosts.fileSystemTree = fileSystemTree;
  hosts.fileSystemForm = fileSystemForm;
  hosts.fileSystemView = fileSystemView;
  return hosts;
}

std::string OneLine(const std::u16string& text) {
  std::string line;
  for (char c : os::ToUtf8(text)) {
    if (c == '\r') {
      line += "\\r";
    } else if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  return line;
}

// ENGINECTL_TICK_MS when it holds a number from 1 to 1000, else tickMs.
uint32_t Tick(uint32_t tickMs) {
  const char* text = std::getenv("ENGINECTL_TICK_MS");
  if (text == nullptr) return tickMs;
  const unsigned long value = std::strtoul(text, nullptr, 10);
  return value >= 1 && value <= 1000 ? static_cast<uint32_t>(value) : tickMs;
}

}  // namespace

void ShowingSecondDisplay::SetRowValue(host::SecondDisplayRow row, const std::u16string& text) {
  if (row >= host::kFoldersFoundRow && row <= host::kFifthRow) rows[row - 1] = text;
}

void PrintingMessages::MessageDialog(const std::u16string& text, uint32_t kind) {
  std::fprintf(stderr, "%u\t%s\n", kind, OneLine(text).c_str());
}

uint32_t PrintingMessages::ConfirmDialog(const std::u16string& text, uint32_t kind) {
  MessageDialog(text, kind);
  return 2;
}

HeadlessScan::HeadlessScan()
    : hosts_(With(host::Current(), &messages_, &panel_, &page_, &tree_, &list_, &fileSystemTree_, &fileSystemForm_,
                  &fileSystemView_)),
      installed_(hosts_) {}

ScanOutcome HeadlessScan::Run(uint32_t (*worker)(), uint32_t tickMs, const std::function<bool()>& alsoDone) {
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  page_.timerArmed = true;
  std::atomic<bool> returned{false};
  std::thread thread([&] {
    worker();
    returned = true;
  });
  ScanOutcome outcome;
  tickMs = Tick(tickMs);
  for (;;) {
    os::SleepMs(tickMs);
    if (!page_.timerArmed) {
      outcome = ScanOutcome::kAbandoned;
      break;
    }
    if (ScanThreadControl.runningFlag == 0 && ScanThreadControl.stopFlag != 0 && (!alsoDone || alsoDone())) {
      outcome = ScanOutcome::kFinished;
      break;
    }
    if (returned) {
      outcome = ScanOutcome::kLost;
      break;
    }
  }
  thread.join();
  return outcome;
}
