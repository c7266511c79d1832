#include "engine/fat/save_abort.h"

std::atomic<uint32_t> SaveAbortFlag{0};
