#!/usr/bin/env bash
# The page viewer's layout pass over generated long-table pages (see html_layout_bench.cpp).
#   bench/html_layout.sh RELEASE_BUILD_FOLDER
set -euo pipefail
"$1/bench/html_layout_bench"
