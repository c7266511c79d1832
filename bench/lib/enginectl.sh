# Sourced by the benchmarks that run the headless driver, with the release build folder as its argument.
# Sets build, enginectl, here (bench/) and cache (build/bench of the source tree, where the volumes are kept),
# and brings in the measuring helpers.
build=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=$(cd "$here/.." && pwd)/build/bench
enginectl=$build/tools/enginectl/enginectl
# shellcheck source=bench/lib/measure.sh
source "$here/lib/measure.sh"
# The driver checks for a scan's end as often as this (the scan page's timer: every 1000 ms), so that a run
# takes as long as its scan.
export ENGINECTL_TICK_MS=1

# volume NAME: builds the benchmark volume NAME once (bench/volumes.py); prints its sector count.
volume() { python3 "$here/volumes.py" "$cache" "$1"; }
