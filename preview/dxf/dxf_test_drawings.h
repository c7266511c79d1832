// Hand-written drawings for the tests: a header and the entities given, as a drawing program writes them.
#pragma once

#include <string>

namespace dxf_test {

inline std::string Drawing(const std::string& entities, const std::string& blocks = "") {
  std::string text = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n";
  if (!blocks.empty()) text += "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n";
  return text + "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

}  // namespace dxf_test
