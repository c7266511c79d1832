// WordConverterHost: converts a file with the Word text converters found on the machine (libraries
// ending ".cnv" or ".wpc" in WORDCNV_DIR, else the shared Textconv folder): the import converter of one
// class turns the input into RTF in a temporary file, and the export converter of another class turns
// that RTF into the output file; the export class "RTF" keeps the RTF itself as the output. Each failure
// is one line on the standard error stream, in the manner of a small command-line tool ("wordcnv").
#pragma once

#include <functional>
#include <string>

#include "platform/classlib/cstring.h"
#include "preview/narrow_path.h"  // the converters take narrow paths

class WordConverterHost {
 public:
  static constexpr const char* kKeepRtf = "RTF";

  WordConverterHost() = default;
  virtual ~WordConverterHost() = default;
  // 0 when the run got to its end (also when the conversion itself failed), 1 on a failure before it.
  // Each text is shorter than 260 bytes.
  int Run(const char* importClass, const char* exportClass, const char* inputPath, const char* outputPath);
  // After Run: a converter of the import class was found on the machine.
  bool ImportClassFound() const { return m_importClassFound; }

  // Where the error lines go; standard error when empty. For tests.
  static void SetErrorSink(std::function<void(const std::string&)> sink);

 private:
  bool m_importClassFound = false;
};
