#include "open_address.h"

#include "seams.h"

namespace seams {
namespace {

// One argument as the C runtime splits a command line: quotes around it, an inner quote
// percent-encoded (an address never needs a bare one), and backslashes before the closing quote doubled.
std::u16string Quoted(const std::u16string& target) {
  std::u16string quoted = u"\"";
  for (char16_t c : target) {
    if (c == u'"') {
      quoted += u"%22";
    } else {
      quoted += c;
    }
  }
  size_t backslashes = 0;
  while (backslashes < target.size() && target[target.size() - 1 - backslashes] == u'\\') ++backslashes;
  quoted.append(backslashes, u'\\');
  return quoted + u"\"";
}

}  // namespace

std::u16string BrowserCommandLine(const std::u16string& command, const std::u16string& target) {
  size_t cut = command.find(u"\"%1\"");
  if (cut == std::u16string::npos) cut = command.find(u"%1");
  std::u16string line = command.substr(0, cut);
  while (!line.empty() && line.back() == u' ') line.pop_back();
  return line + u" " + Quoted(target);
}

intptr_t OpenAddress(void* owner, const std::u16string& target, int show) {
  ShellRequest request;
  request.owner = owner;
  request.verb = u"open";
  request.target = target;
  request.show = show;
  intptr_t result = Shell().Execute(request);
  if (result > 32) return result;
  std::u16string command = RegisteredBrowserCommand();
  if (command.empty()) return result;
  return static_cast<intptr_t>(Shell().StartProcess(BrowserCommandLine(command, target), show));
}

}  // namespace seams
