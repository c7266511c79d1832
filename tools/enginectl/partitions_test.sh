#!/usr/bin/env bash
# enginectl partitions against what partition_oracle.py expects of the shared test images (mmls's rows,
# the manifests' volumes), and its refusals; the tables of make_aligned_disks.py's disks past 2 TiB, and their
# volumes refused by name at once by the scans.
#   partitions_test.sh ENGINECTL SHARED_IMAGES EXPECTED ALIGNED
set -uo pipefail
ctl=$1 shared=$2 expected=$3 aligned=$4
fail=0

# "first:count:code ..." as the driver prints it, one per line.
lines() { for e in "$@"; do printf '%s\n' "$e" | tr ':' '\t'; done; }

while read -r kind image rest; do
  if [ "$kind" = detect ]; then
    want=$(lines $rest | sort -n)
    got=$("$ctl" partitions "$shared/$image" | sort -n)
  else
    case $image in *.vhdx) continue ;; esac   # each VHDX search runs its 10 s progress first
    set -- $rest; shift 3
    want=$(lines "$@")
    got=$("$ctl" partitions --search "$shared/$image")
  fi
  if [ "$got" != "$want" ]; then
    echo "FAILED: $kind $image: got"; printf '%s\n' "$got"; echo "wanted"; printf '%s\n' "$want"; fail=1
  fi
done < "$expected"

folder=$(dirname "$aligned")
while read -r kind image rest; do
  [ "$kind" = detect ] || continue
  want=$(lines $rest | sort -n)
  got=$("$ctl" partitions "$folder/$image" | sort -n)
  [ "$got" = "$want" ] || { echo "FAILED: detect $image: got $got, wanted $want"; fail=1; }
done < "$aligned"

# A volume past sector 2^32 - 1 is refused by name, before anything is read: never searched sector by sector,
# never read with its numbers cut to 32 bits.
refused() {  # WHAT TEXT COMMAND...
  local what=$1 text=$2; shift 2
  local err; err=$("$@" 2>&1 >/dev/null)
  case $err in *"$text"*) ;; *) echo "FAILED: $what: $err"; fail=1 ;; esac
}
fat=$folder/fat32_2tib.8m.vhdx ntfs=$folder/beyond_reach.8m.vhdx
refused "FAT32 of 2 TiB less a sector, Quick Scan" "The FAT32 volume at sector 2048 holds 4294967295 sectors" \
  "$ctl" quick "$fat" --partition 0
refused "NTFS of 2.2 TiB, File Trace" "The NTFS volume at sector 2048 holds 4823449598 sectors" \
  "$ctl" trace "$ntfs" --range 300 2048 4823449598 --types jpg
refused "a range past sector 2^32" "The NTFS volume at sector 4823451648 holds 131071 sectors" \
  "$ctl" quick "$ntfs" --range 300 4823451648 131071
refused "Extensive Scan over the FAT32's boot sector" "The FAT32 volume at sector 2048 holds 4294967292 sectors" \
  "$ctl" extensive "$fat" --range 200 0 65536
refused "Extensive Scan over the NTFS's boot sector" "The NTFS volume at sector 2048 holds 4823449598 sectors" \
  "$ctl" extensive "$ntfs" --range 300 0 65536

"$ctl" partitions >/dev/null 2>&1; [ $? = 2 ] || { echo "FAILED: no image accepted"; fail=1; }
"$ctl" partitions --search "$shared/no such image.vhd" >/dev/null 2>&1; [ $? = 1 ] || { echo "FAILED: missing image"; fail=1; }
exit $fail
