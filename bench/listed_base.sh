#!/usr/bin/env bash
# Quick Scan (enginectl quick) of NTFS volumes of 8 and 32 MiB whose one base record has an attribute list of
# 256 KiB naming thousands of extension records (bench/listed_base_volumes.py), against The Sleuth Kit's
# `fls -r -p` on the bare volume. The list is read once for the base, not once for each of its extension
# records: the time and the bytes the scan reads grow with the volume. Best of three, volumes in the page cache;
# the bytes read are the scan's own (/proc's rchar of the children), against the image's size.
#   bench/listed_base.sh RELEASE_BUILD_FOLDER
set -euo pipefail
# shellcheck source=bench/lib/enginectl.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/enginectl.sh" "$1"

# bytes_read COMMAND...: what one run of the command read (its output thrown away).
bytes_read() {
  python3 -c '
import subprocess, sys
def rchar():
    return int(next(l for l in open("/proc/self/io") if l.startswith("rchar:")).split()[1])
before = rchar()
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
print(rchar() - before)' "$@"
}

for mib in 8 32; do
  read -r sectors extensions < <(python3 "$here/listed_base_volumes.py" "$cache" "$mib")
  image=$cache/listed_base$mib.vhd
  raw=$cache/listed_base$mib.raw
  cat "$image" "$raw" >/dev/null  # into the page cache
  ours=$(best_seconds "$enginectl" quick "$image" --range 300 0 "$sectors")
  theirs=$(best_seconds fls -r -p "$raw")
  read_bytes=$(bytes_read "$enginectl" quick "$image" --range 300 0 "$sectors")
  awk -v m="$mib" -v e="$extensions" -v o="$ours" -v t="$theirs" -v r="$read_bytes" -v s="$(stat -c %s "$image")" 'BEGIN {
    printf "%2d MiB, %5d extension records   Quick Scan %6.3f s   fls -r -p %6.3f s   fls/Quick Scan %.2f   read %.1f MiB (%.2f x the image)\n",
           m, e, o, t, t / o, r / 1048576, r / s
  }'
done
