#!/usr/bin/env bash
# The snapshots the tests of the commands and of loading over results load: each partition of the test disk
# mbr_primary (FAT16, FAT32, NTFS) in each mode, saved by enginectl as the program's Save Recovery Snapshot saves
# it (OUT/<mode>_<fs>.vsnp), and a File Trace of the carving volume, whose hits these partitions lack
# (OUT/trace_carving.vsnp).
#   make_command_snapshots.sh ENGINECTL IMAGES OUT
set -euo pipefail
enginectl=$1 image=$2/mbr_primary.fixed.vhd carving=$2/carving.dynamic.vhd out=$3
export ENGINECTL_TICK_MS=5
rm -rf "$out"
mkdir -p "$out"
names=([100]=fat16 [200]=fat32 [300]=ntfs)
index=0
while IFS=$'\t' read -r start count code _; do
  fs=${names[$code]}
  "$enginectl" quick "$image" --partition "$index" --snapshot-save "$out/quick_$fs.vsnp" >/dev/null
  "$enginectl" extensive "$image" --range "$code" "$start" "$count" --choose 1 --snapshot-save "$out/extensive_$fs.vsnp" >/dev/null
  "$enginectl" trace "$image" --range "$code" "$start" "$count" --types jpg,png,gif,bmp,pdf,zip \
    --snapshot-save "$out/trace_$fs.vsnp" >/dev/null
  index=$((index + 1))
done < <("$enginectl" partitions "$image")
"$enginectl" trace "$carving" --range 200 0 81920 --types jpg,png,gif,bmp,pdf,zip --snapshot-save "$out/trace_carving.vsnp" \
  >/dev/null
test "$(ls "$out" | wc -l)" -eq 10
