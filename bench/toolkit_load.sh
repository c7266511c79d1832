#!/usr/bin/env bash
# The toolkit loading stored command sets natively, and under Wine the command sets and the image
# manager's pasted icons and saved icon sets (bench/toolkit_load_bench.cpp): sizes, items loaded, seconds.
# DORVANE_BUILD names the win32 build (default build/win32; the program is built when it is missing).
#   bench/toolkit_load.sh RELEASE_BUILD_FOLDER [SCALE]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
echo "-- native"
"$1/bench/toolkit_load_bench" "${2:-1}"
build=${DORVANE_BUILD:-$repo/build/win32}
program=$build/bench/toolkit_load_bench.exe
if [ ! -x "$program" ]; then
  (cd "$repo" && cmake --preset win32 -B "$build" >/dev/null && cmake --build "$build" --target toolkit_load_bench -j "$(nproc)" >&2)
fi
echo "-- under Wine"
"$repo/scripts/wine-exec" "$program" "${2:-1}"
