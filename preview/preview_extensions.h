// What the preview pane can show, by extension, and where the item it shows lies.
#pragma once

#include <cstdint>
#include <string>

// 1 when the pane has a view for files of this extension (with its leading "."), else 0. The pane names
// every file it is given so far, so every extension is taken.
uint32_t IsPreviewableExtension(const std::u16string& path, const std::u16string& extension);

// The results list writes "\" + folder path + "\" + name here before it hands a file to the pane.
extern std::u16string ResultsItemPathText;
