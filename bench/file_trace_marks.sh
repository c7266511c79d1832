#!/usr/bin/env bash
# File Trace's marks on the results page under Wine (bench/file_trace_marks_bench.cpp): a type of 12,500 and
# of 50,000 hits listed with every other node ticked, its boxes restored, and one hit ticked on its list; a FAT
# folder of as many files listed; each with the window hidden, then shown with the shell's icons and types;
# seconds.
# DORVANE_BUILD names the win32 build (default build/win32; the program is built when it is missing).
#   bench/file_trace_marks.sh RELEASE_BUILD_FOLDER
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${DORVANE_BUILD:-$repo/build/win32}
program=$build/bench/file_trace_marks_bench.exe
if [ ! -x "$program" ]; then
  (cd "$repo" && cmake --preset win32 -B "$build" >/dev/null && cmake --build "$build" --target file_trace_marks_bench -j "$(nproc)" >&2)
fi
"$repo/scripts/wine-exec" "$program" 12500 50000
