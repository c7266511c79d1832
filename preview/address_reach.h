// Where an address a recovered file names would take the program that opens it. A page, a playlist or
// a document from a damaged disk is no file the user chose to trust: opening a network share makes the
// system connect with the user's credentials (and wait while the host does not answer), a device may
// never answer, and a network address tells a stranger that the file was opened.
#pragma once

#include <string>
#include <string_view>

namespace preview {

// The path of a "file://" address ("file://" and any further slashes before a drive taken off, "/" as
// "\"), or "" when the address is not one.
std::u16string FileUrlPath(std::u16string_view url);

// True for a path or "file:" address that names a network share ("\\host\share", "//host/share",
// "file:////host/share", "file://host/share", or a drive letter mapped to a share: a drive the system
// reports as remote, or whose kind it cannot tell), a device or a raw system path ("\\.\", "\\?\", "\??\",
// or a device name such as CON, NUL, COM1 or LPT1 as its last part). A "file:" address not followed by
// "//" counts too: the system reads such forms in more than one way.
bool NamesShareOrDevice(std::u16string_view address);

// True for an address whose opening leaves this machine: one that names a share or a device (a "res:"
// address by the library it names), and every address with a scheme other than "file:" and the browser's
// own "about:" and "res:" (http, ftp, mms, rtsp, mk:, mailto:, ...). A path on a drive of this machine
// or a name without a scheme stays.
bool ReachesOutside(std::u16string_view address);

}  // namespace preview
