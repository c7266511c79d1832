// A per-input time-out of a target's own, tighter than the runner's: the target's work must grow with its
// input, so an input that takes longer is a fault (a scan that grows with the square of the input) and is
// kept like a crash. The flag is added behind the runner's own, where libFuzzer takes the last one given.
//   DORVANE_FUZZ_TIME_LIMIT("-timeout=5")
#pragma once

#define DORVANE_FUZZ_TIME_LIMIT(flag)                                   \
  extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {        \
    static char limit[] = flag;                                         \
    static char** extended = new char*[static_cast<size_t>(*argc) + 2]; \
    for (int i = 0; i < *argc; ++i) extended[i] = (*argv)[i];           \
    extended[(*argc)++] = limit;                                        \
    extended[*argc] = nullptr;                                          \
    *argv = extended;                                                   \
    return 0;                                                           \
  }
