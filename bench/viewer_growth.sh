#!/usr/bin/env bash
# How the DXF and archive viewers' work grows with the file (bench/viewer_growth_bench.cpp): the seconds of
# reading, of one paint and of listing at two sizes four times apart, and their ratio, at most 6 for each.
#   bench/viewer_growth.sh RELEASE_BUILD_FOLDER [FILTER]
set -euo pipefail
"$1/bench/viewer_growth_bench" "${@:2}"
