#!/usr/bin/env bash
# A Quick Scan through the program's window against the headless driver: the 50,000-file NTFS volume of
# quick_scan.sh, scanned by the real program under Wine (scripts/ui-scenario: from page 2's Next to the
# root listed on page 4) and by `enginectl quick` in the same run. The window's time includes page 2's
# timer, which looks for the scan's end once a second, as the program's own does. Prints the ratio
# (target: at most 1.5) and the worst time the program's user-interface thread took to answer a message
# during the scan (target: under 100 ms). DORVANE_BUILD names the win32 build (default build/win32).
#   bench/ui_quick_scan.sh RELEASE_BUILD_FOLDER
set -euo pipefail
# shellcheck source=bench/lib/enginectl.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/enginectl.sh" "$1"
repo=$(cd "$here/.." && pwd)

sectors=$(volume ntfs50k)
cat "$cache/ntfs50k.vhd" >/dev/null  # into the page cache
engine=$(best_seconds "$enginectl" quick "$cache/ntfs50k.vhd" --range 300 0 "$sectors")
# A disk without a partition table: the program's partition search finds the volume as partition 0.
window=""
worst=""
for _ in 1 2 3; do
  out=$("$repo/scripts/ui-scenario" --image "$cache/ntfs50k.vhd" --mode quick --partition 0 --no-tree --timing \
        --timeout 600)
  w=$(sed -n 's/^window_seconds=//p' <<<"$out")
  d=$(sed -n 's/^worst_ui_delay_ms=//p' <<<"$out")
  if [ -z "$window" ] || awk -v a="$w" -v b="$window" 'BEGIN { exit !(a < b) }'; then window=$w; fi
  if [ -z "$worst" ] || [ "$d" -gt "$worst" ]; then worst=$d; fi
done
awk -v e="$engine" -v w="$window" -v d="$worst" 'BEGIN {
  printf "ntfs50k  window %6.3f s   enginectl quick %6.3f s   window/engine %.2f (target: at most 1.5)\n", w, e, w / e
  printf "ntfs50k  worst delay of the window thread answering a message during the scan: %d ms (target: under 100)\n", d
}'
