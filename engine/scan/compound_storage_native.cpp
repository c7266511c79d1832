// Builds without the system's structured storage read compound files with our own reader.
#include "engine/scan/compound_file.h"

std::string ReadCompoundAppName(const uint8_t* data, size_t size) { return ReadCompoundAppNameOwn(data, size); }
