#!/usr/bin/env bash
# File Trace (enginectl trace, on a fixed VHD of the volume) against photorec (batch mode, on the bare volume)
# over a 1 GiB FAT32 volume holding the carving samples of tools/images 200 times over between files of random
# bytes: the same file types for both (photorec's "doc" stands for every compound file, as the engine's doc, xls
# and ppt do). photorec writes what it recovers into a folder under /dev/shm, which is emptied after each run.
# Each is timed three times with the volume in the page cache; the best time counts.
#   bench/file_trace.sh RELEASE_BUILD_FOLDER
set -euo pipefail
# shellcheck source=bench/lib/enginectl.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/enginectl.sh" "$1"
export TERM=dumb

command -v photorec >/dev/null || { echo "photorec is not installed (Debian package testdisk)"; exit 1; }
ours_types=jpg,png,gif,bmp,pdf,zip,doc,xls,ppt
options=partition_none,options,paranoid,keep_corrupted_file_no,fileopt,everything,disable
for t in jpg png gif bmp pdf zip doc; do options+=,$t,enable; done
options+=,search

sectors=$(volume trace1g)
raw=$cache/trace1g.raw
vhd=$cache/trace1g.vhd

trace() { "$enginectl" trace "$vhd" --range 200 0 "$sectors" --types "$ours_types"; }

# photorec_run [count]: one run of photorec into a fresh folder under /dev/shm; with count, prints how many files
# it recovered.
photorec_run() {
  local out
  out=$(mktemp -d /dev/shm/dorvane_photorec.XXXXXX)
  (cd "$out" && photorec /log /d "$out/recup" /cmd "$raw" "$options" >/dev/null 2>&1)
  if [ "${1:-}" = count ]; then find "$out" -path "$out/recup.*" -type f ! -name report.xml | wc -l; fi
  rm -rf "$out"
}

cat "$vhd" "$raw" >/dev/null  # into the page cache
hits=$(trace | wc -l)
recovered=$(photorec_run count)
ours=$(best_seconds trace)
theirs=$(best_seconds photorec_run)
rss=$(peak_rss_kib "$enginectl" trace "$vhd" --range 200 0 "$sectors" --types "$ours_types")
awk -v o="$ours" -v t="$theirs" -v h="$hits" -v r="$recovered" -v rss="$rss" 'BEGIN {
  printf "trace1g  File Trace %6.3f s   photorec %6.3f s   photorec/File Trace %.2f (above 1: faster than photorec)\n", o, t, t / o
  printf "%-8s %d hits (photorec: %d files)   peak RSS of File Trace %d KiB\n", "", h, r, rss
}'
