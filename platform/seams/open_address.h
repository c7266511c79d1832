// Opening an address or file the way a link does: the shell's "open" verb first, and when the shell
// cannot, the browser registered for ".htm" files started on it.
#pragma once

#include <cstdint>
#include <string>

namespace seams {

// The registered browser command with the target in place of its first "%1": the command is cut at its
// first quoted "%1" (else its first %1; without one it is used whole) and the target follows after a
// blank, quoted, so that blanks or quotes in it never become further arguments.
std::u16string BrowserCommandLine(const std::u16string& command, const std::u16string& target);

// The open command registered for ".htm" files (HKEY_CLASSES_ROOT); empty where there is none.
std::u16string RegisteredBrowserCommand();

// Runs "open" on the target through the shell seam; when that fails and a browser is registered, starts
// the browser's command line through the same seam. Above 32 is success; otherwise the shell's (or the
// start's) error number.
intptr_t OpenAddress(void* owner, const std::u16string& target, int show);

}  // namespace seams
