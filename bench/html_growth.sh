#!/usr/bin/env bash
# How the page reader's work grows with the page, construct by construct (bench/html_growth_bench.cpp):
# the seconds at 64 KB and 256 KB and their ratio, at most 6 for each; then the slowest at 5 MiB.
#   bench/html_growth.sh RELEASE_BUILD_FOLDER [FILTER]
set -euo pipefail
"$1/bench/html_growth_bench" "${@:2}"
