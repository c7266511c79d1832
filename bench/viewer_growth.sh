#!/usr/bin/env bash
# How the DXF and archive viewers' work grows with the file (bench/viewer_growth_bench.cpp): the seconds of
# reading, of one paint and of listing at two sizes four times apart, and their ratio, at most 6 for each;
# with the ordinary drawings that preview/dxf/make_dxf_samples.py --bench writes with ezdxf (into
# build/bench/dxf, once).
#   bench/viewer_growth.sh RELEASE_BUILD_FOLDER [FILTER]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
drawings=$repo/build/bench/dxf
generator=$repo/preview/dxf/make_dxf_samples.py
if [ ! -e "$drawings/circles-full.dxf" ] || [ "$generator" -nt "$drawings/circles-full.dxf" ]; then
  /usr/bin/python3 "$generator" --bench --out "$drawings"
fi
DXF_ORDINARY_DRAWINGS=$drawings "$1/bench/viewer_growth_bench" "${@:2}"
