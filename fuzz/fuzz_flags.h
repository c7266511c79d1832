// Flags of a target's own, added behind the runner's, where libFuzzer takes the last one given, so that
// every run of the target (CI, a soak, by hand) uses them:
// - a per-input time-out tighter than the runner's: the target's work must grow with its input, so an
//   input that takes longer is a fault (a scan that grows with the square of the input) and is kept like
//   a crash;
// - a largest input of at least 64 KiB for readers whose cost could grow faster than their input: the
//   fuzzer makes inputs no larger than its largest seed unless told, and a square only shows at size.
//   DORVANE_FUZZ_FLAGS("-timeout=5", "-max_len=65536")
#pragma once

#define DORVANE_FUZZ_FLAGS(...)                                                         \
  extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {                        \
    static const char* const flags[] = {__VA_ARGS__};                                   \
    constexpr int kCount = static_cast<int>(sizeof flags / sizeof flags[0]);            \
    static char** extended = new char*[static_cast<size_t>(*argc) + kCount + 1];        \
    for (int i = 0; i < *argc; ++i) extended[i] = (*argv)[i];                           \
    for (int i = 0; i < kCount; ++i) extended[(*argc)++] = const_cast<char*>(flags[i]); \
    extended[*argc] = nullptr;                                                          \
    *argv = extended;                                                                   \
    return 0;                                                                           \
  }
