// The paths of a file dialog's selection buffer. A single selection is the path itself; a multiple one is
// the folder and then each name, separated by a zero in explorer style and by a blank in the old style,
// the whole ending with an empty part.
#pragma once

#include <string>
#include <vector>

namespace seams {

// buffer: the dialog's buffer up to its closing double zero (or its end); folder + "\" + name for each
// name, without the added backslash when the folder ends with "\" or "/".
std::vector<std::u16string> SelectionPaths(const std::u16string& buffer, bool explorer);

}  // namespace seams
