#include "engine/scan/scan_test_support.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "engine/scan/selected_signatures.h"
#include "platform/os/os.h"

namespace scan_test {

std::u16string SignatureTablePath() { return os::FromUtf8(DORVANE_SIGNATURE_TABLE); }
std::u16string RawDatPath() { return os::FromUtf8(DORVANE_RAW_DAT); }
std::u16string SharedImage(const std::string& name) { return os::FromUtf8(DORVANE_SHARED_IMAGES "/" + name); }
std::u16string CompoundSample(const std::string& name) {
  return os::FromUtf8(DORVANE_COMPOUND_SAMPLES "/" + name);
}

std::vector<uint8_t> ReadFileBytes(const std::u16string& path) {
  os::File file;
  uint64_t size = 0;
  if (!file.OpenRead(path) || !file.Size(&size) || size > 0xFFFFFFFFu) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  uint32_t got = 0;
  if (size > 0 && (!file.Read(bytes.data(), static_cast<uint32_t>(size), &got) || got != size)) return {};
  return bytes;
}

bool WriteFileBytes(const std::u16string& path, const std::vector<uint8_t>& bytes) {
  os::File file;
  return file.OpenWrite(path) && (bytes.empty() || file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()))) &&
         file.Close();
}

std::vector<const SelectedSignature*> PlainSignatureMatches(const uint8_t* sectorStart, size_t size) {
  char hex[2 * 15 + 1] = {};
  const size_t available = std::min<size_t>(size, 15);
  for (size_t i = 0; i < available; ++i) std::snprintf(hex + 2 * i, 3, "%02X", sectorStart[i]);
  std::vector<const SelectedSignature*> matches;
  for (const SelectedSignature& node : SelectedSignatureList) {
    if (node.offset < 1 || node.offset > 15 || static_cast<size_t>(node.offset) > available) continue;
    const size_t digits = 2 * static_cast<size_t>(node.offset);
    if (node.signature.size() != digits) continue;
    bool same = true;
    for (size_t i = 0; i < digits && same; ++i) {
      same = std::toupper(static_cast<unsigned char>(node.signature[i])) == hex[i];
    }
    if (same) matches.push_back(&node);
  }
  return matches;
}

std::u16string TempFile(const std::u16string& name) { return os::ProcessTempPath(u"dorvane_scan") + u"_" + name; }

std::vector<std::vector<std::string>> ReadTable(const std::u16string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  std::istringstream text(std::string(bytes.begin(), bytes.end()));
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    std::istringstream cellText(line);
    for (std::string cell; std::getline(cellText, cell, '\t');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

void RunWithinDeadline(int seconds, const std::string& what, const std::function<void()>& work) {
  struct Shared {
    std::mutex lock;
    std::condition_variable done;
    bool returned = false;
  };
  Shared shared;
  // Joined, never detached: under Wine a detached thread of the Windows build's threads library now and
  // then never starts.
  std::thread worker([&shared, &work] {
    work();
    std::lock_guard<std::mutex> hold(shared.lock);
    shared.returned = true;
    shared.done.notify_one();
  });
  std::unique_lock<std::mutex> hold(shared.lock);
  if (!shared.done.wait_for(hold, std::chrono::seconds(seconds), [&] { return shared.returned; })) {
    std::fprintf(stderr, "FAILED: %s did not return within %d s\n", what.c_str(), seconds);
    std::fflush(stderr);
    std::_Exit(1);
  }
  hold.unlock();
  worker.join();
}

}  // namespace scan_test
