#!/usr/bin/env bash
# The partition search (enginectl partitions --search) over empty dynamic VHDs of 256 GiB, 1 TiB and 2,000 GiB
# (qemu-img create): it looks at every cylinder's boot sector and every 1 MiB boundary of the disk, so its time
# must grow with the disk's size and no faster. Each size is timed three times, the best time counts; the line
# gives the seconds per TiB, which stay about the same from size to size when the walk is linear.
#   bench/partition_search.sh RELEASE_BUILD_FOLDER
set -euo pipefail
# shellcheck source=bench/lib/enginectl.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/enginectl.sh" "$1"

mkdir -p "$cache"
for size in 256G 1T 2000G; do
  disk="$cache/search_$size.vhd"
  [ -f "$disk" ] || qemu-img create -q -f vpc -o subformat=dynamic "$disk" "$size"
  bytes=$(qemu-img info --output=json "$disk" | python3 -c 'import json, sys; print(json.load(sys.stdin)["virtual-size"])')
  seconds=$(best_seconds "$enginectl" partitions --search "$disk")
  awk -v s="$size" -v t="$seconds" -v b="$bytes" 'BEGIN {
    printf "partition search %-6s %7.3f s   %.3f s per TiB\n", s, t, t / (b / 1099511627776)
  }'
done
