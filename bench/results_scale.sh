#!/usr/bin/env bash
# The results page's work over large generated results (see results_scale_bench.cpp): each step in a
# process of its own, with its seconds and the process's peak memory.
#   bench/results_scale.sh RELEASE_BUILD_FOLDER
set -euo pipefail
bench="$1/bench/results_scale_bench"
run() {
  /usr/bin/time -f "  peak memory %M KB" "$bench" "$@"
}
run properties 20000 200000
run properties 100000 500000
run find 10000
run collect 10000 1000000
run click 20000
