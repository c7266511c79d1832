#!/usr/bin/env bash
# How the HTML drawer's layout grows with its text, shape by shape (bench/html_drawer_growth_bench.cpp): the
# seconds and the characters measured at 64 KB and 256 KB and their ratios, at most 6 for each.
#   bench/html_drawer_growth.sh RELEASE_BUILD_FOLDER [FILTER]
set -euo pipefail
"$1/bench/html_drawer_growth_bench" "${@:2}"
