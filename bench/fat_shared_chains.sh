#!/usr/bin/env bash
# FAT folders that all run on into one shared chain of directory clusters (a crafted 32 MiB FAT16 volume,
# tools/images/fat_shared_chains.py) at two shapes, 50 folders into a chain of 1,000 clusters and 200 into 4,000:
# Quick Scan and the reading of the file system an Extensive Scan finds (enginectl extensive --choose 1, its
# search included) read each cluster once, and those read once at most once more in all (a cluster two folders'
# chains reach is listed under both), so their time grows with the clusters, not with folders x clusters.
# Against fls -r -p on the bare volume of the smaller shape (one run: TSK follows every folder's chain through the
# shared one, 8 s there and 131 s on the larger shape, where it prints 12.8 million lines). For each:
# the entries listed (the volume holds folders + 14 x folders + 16 x chain entries; at most twice that are
# listed), the best of three times and the peak resident set.
#   bench/fat_shared_chains.sh RELEASE_BUILD_FOLDER
set -euo pipefail
# shellcheck source=bench/lib/enginectl.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/enginectl.sh" "$1"

for shape in 50x1000 200x4000; do
  name=fat_chains_$shape
  sectors=$(volume "$name")
  folders=${shape%x*}
  chain=${shape#*x}
  held=$((folders * 15 + chain * 16))
  cat "$cache/$name.vhd" "$cache/$name.raw" >/dev/null  # into the page cache
  for mode in quick chosen; do
    if [ "$mode" = quick ]; then args=(quick "$cache/$name.vhd" --range 100 0 "$sectors")
    else args=(extensive "$cache/$name.vhd" --range 100 0 "$sectors" --choose 1); fi
    listed=$("$enginectl" "${args[@]}" | grep -vc $'\t/Lost Dir$')
    seconds=$(best_seconds "$enginectl" "${args[@]}")
    rss=$(peak_rss_kib "$enginectl" "${args[@]}")
    printf '%-20s %-6s %9d entries listed (%d held)   %7.3f s   peak RSS %d KiB\n' "$name" "$mode" "$listed" "$held" \
      "$seconds" "$rss"
  done
  [ "$shape" = 50x1000 ] || continue
  t0=$(date +%s%N)
  lines=$(fls -r -p "$cache/$name.raw" | wc -l)
  t1=$(date +%s%N)
  awk -v n="$name" -v l="$lines" -v us=$(((t1 - t0) / 1000)) \
    'BEGIN { printf "%-20s fls    %9d lines                       %7.3f s (one run)\n", n, l, us / 1e6 }'
done
