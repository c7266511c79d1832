#!/usr/bin/env bash
# File Trace (enginectl trace, on a fixed VHD of the volume) against photorec (batch mode, on the bare volume)
# over FAT32 volumes of 512 MiB and 2 GiB holding the carving samples of tools/images again and again between
# files of random bytes, the rest of each volume empty (bench/volumes.py). Two cases on each: every type (File
# Trace: every type of the signature table, as a user who ticks the top groups gets; photorec: every format it
# knows) and JPEG alone. Printed per case: the best of three times with the volume in the page cache, the speed in
# MB/s (of the volume's bytes), the peak resident set of one run, and the hits (photorec: the files it carved).
# photorec writes what it recovers into a folder under /dev/shm, which is emptied after each run.
#   bench/file_trace.sh RELEASE_BUILD_FOLDER
set -euo pipefail
# shellcheck source=bench/lib/enginectl.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/enginectl.sh" "$1"
export TERM=dumb

command -v photorec >/dev/null || { echo "photorec is not installed (Debian package testdisk)"; exit 1; }
every_type=$(awk -F'\t' '!/^#/ && $2 ~ /^\./ { print substr($2, 2) }' "$here/../tools/signatures/signatures.tsv" |
             sort -u | paste -sd, -)

trace() { "$enginectl" trace "$vhd" --range 200 0 "$sectors" --types "$types"; }

# photorec_run [count|rss]: one run of photorec into a fresh folder under /dev/shm; with count, prints how many
# files it recovered, with rss its peak resident set in KiB.
photorec_run() {
  local out
  out=$(mktemp -d /dev/shm/dorvane_photorec.XXXXXX)
  local measure=()
  if [ "${1:-}" = rss ]; then measure=(/usr/bin/time -f %M -o "$out/rss"); fi
  (cd "$out" && "${measure[@]}" photorec /log /d "$out/recup" /cmd "$raw" "$options" >/dev/null 2>&1)
  if [ "${1:-}" = count ]; then find "$out" -path "$out/recup.*" -type f ! -name report.xml | wc -l; fi
  if [ "${1:-}" = rss ]; then cat "$out/rss"; fi
  rm -rf "$out"
}

for name in trace512m trace2g; do
  sectors=$(volume "$name")
  raw=$cache/$name.raw
  vhd=$cache/$name.vhd
  cat "$vhd" "$raw" >/dev/null  # into the page cache
  for case in every jpeg; do
    options=partition_none,options,paranoid,keep_corrupted_file_no,fileopt,everything
    if [ "$case" = every ]; then
      types=$every_type
      options+=,enable,search
    else
      types=jpg
      options+=,disable,jpg,enable,search
    fi
    hits=$(trace | wc -l)
    recovered=$(photorec_run count)
    ours=$(best_seconds trace)
    theirs=$(best_seconds photorec_run)
    rss=$(peak_rss_kib "$enginectl" trace "$vhd" --range 200 0 "$sectors" --types "$types")
    photorec_rss=$(photorec_run rss)
    awk -v n="$name" -v c="$case" -v b="$((sectors * 512))" -v o="$ours" -v t="$theirs" -v h="$hits" \
        -v r="$recovered" -v rss="$rss" -v prss="$photorec_rss" 'BEGIN {
      printf "%-9s %-5s File Trace %7.3f s %6.0f MB/s %6.1f MiB %5d hits   photorec %7.3f s %6.0f MB/s %6.1f MiB %5d files   photorec/File Trace %.2f\n",
             n, c, o, b / o / 1e6, rss / 1024, h, t, b / t / 1e6, prss / 1024, r, t / o
    }'
  done
done
