#!/usr/bin/env bash
# Sequential ReadSectors in 128-sector runs over 1 GiB dynamic VHD and VHDX images, against qemu-img
# converting the same image to raw (into /dev/shm; it cannot write to /dev/null) and cat reading the file.
# Each is timed three times with the file in the page cache; the best time counts.
#   bench/image_read.sh RELEASE_BUILD_FOLDER
set -euo pipefail
build=$1
bench=$build/bench/image_read_bench
work=$build/bench-images
mkdir -p "$work"
sectors=$((1024 * 1024 * 2))  # 1 GiB
# shellcheck source=bench/lib/measure.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/measure.sh"

if [ ! -e "$work/image.vhdx" ]; then
  head -c $((sectors * 512)) /dev/urandom >"$work/source.raw"
  qemu-img convert -f raw -O vpc -o subformat=dynamic,force_size=on "$work/source.raw" "$work/image.vhd"
  qemu-img convert -f raw -O vhdx -o subformat=dynamic "$work/source.raw" "$work/image.vhdx"
  rm -f "$work/source.raw"
fi

qemu_to_shm() {
  local out=/dev/shm/dorvane_bench_$$.raw
  qemu-img convert -f "$1" -O raw "$2" "$out"
  rm -f "$out"
}

cat_file() { cat "$1" >/dev/null; }

for image in "$work/image.vhd" "$work/image.vhdx"; do
  case $image in *.vhdx) fmt=vhdx ;; *) fmt=vpc ;; esac
  cat "$image" >/dev/null  # into the page cache
  ours=$(best_seconds "$bench" "$image" "$sectors")
  qemu=$(best_seconds qemu_to_shm "$fmt" "$image")
  plain=$(best_seconds cat_file "$image")
  awk -v name="$(basename "$image")" -v o="$ours" -v q="$qemu" -v c="$plain" 'BEGIN {
    printf "%-11s ReadSectors %6.3f s   qemu-img convert %6.3f s   cat %6.3f s\n", name, o, q, c
    printf "%-11s qemu-img/ReadSectors %.2f (above 1: faster than qemu-img)   cat/ReadSectors %.2f\n", "", q / o, c / o
  }'
done
