#!/usr/bin/env bash
# enginectl partitions against what partition_oracle.py expects of the shared test images (mmls's rows,
# the manifests' volumes), and its refusals.
#   partitions_test.sh ENGINECTL SHARED_IMAGES EXPECTED
set -uo pipefail
ctl=$1 shared=$2 expected=$3
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

"$ctl" partitions >/dev/null 2>&1; [ $? = 2 ] || { echo "FAILED: no image accepted"; fail=1; }
"$ctl" partitions --search "$shared/no such image.vhd" >/dev/null 2>&1; [ $? = 1 ] || { echo "FAILED: missing image"; fail=1; }
exit $fail
