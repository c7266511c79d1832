#!/usr/bin/env bash
# Quick Scan (enginectl quick, on a fixed VHD of the volume) against The Sleuth Kit's `fls -r -p` (on the bare
# volume) over an NTFS volume with 50,000 files in 1,000 folders and a FAT32 volume with 20,000 files in 400
# folders. Both list every path; each is timed three times with the volume in the page cache, the best time
# counts. Memory: the peak resident set of a Quick Scan that lists one folder only (so that the listing's own
# text is left out) minus that of the same scan of an empty volume of the same kind, per record found (records:
# the folders and files the Quick Scan listed).
#   bench/quick_scan.sh RELEASE_BUILD_FOLDER
set -euo pipefail
# shellcheck source=bench/lib/enginectl.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/enginectl.sh" "$1"

for case in "ntfs50k 300 ntfs_empty" "fat20k 200 fat_empty"; do
  read -r name code empty <<<"$case"
  sectors=$(volume "$name")
  empty_sectors=$(volume "$empty")
  cat "$cache/$name.vhd" "$cache/$name.raw" >/dev/null  # into the page cache
  records=$("$enginectl" quick "$cache/$name.vhd" --range "$code" 0 "$sectors" | wc -l)
  listed=$(fls -r -p "$cache/$name.raw" | wc -l)
  ours=$(best_seconds "$enginectl" quick "$cache/$name.vhd" --range "$code" 0 "$sectors")
  theirs=$(best_seconds fls -r -p "$cache/$name.raw")
  rss=$(peak_rss_kib "$enginectl" quick "$cache/$name.vhd" --range "$code" 0 "$sectors" --list "")
  base=$(peak_rss_kib "$enginectl" quick "$cache/$empty.vhd" --range "$code" 0 "$empty_sectors" --list "")
  fls_rss=$(peak_rss_kib fls -r -p "$cache/$name.raw")
  awk -v n="$name" -v o="$ours" -v t="$theirs" -v r="$records" -v l="$listed" -v rss="$rss" -v base="$base" \
      -v f="$fls_rss" 'BEGIN {
    printf "%-8s Quick Scan %6.3f s   fls -r -p %6.3f s   fls/Quick Scan %.2f (above 1: faster than fls)\n", n, o, t, t / o
    printf "%-8s %d records (fls: %d lines)   peak RSS %d KiB, empty volume %d KiB (fls %d KiB)   %.0f bytes per record (target: under 200)\n",
           "", r, l, rss, base, f, (rss - base) * 1024 / r
  }'
done
