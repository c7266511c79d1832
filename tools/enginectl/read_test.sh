#!/usr/bin/env bash
# enginectl read against qemu-img's raw reading of the same images, and its one-line refusals.
#   read_test.sh ENGINECTL SHARED_IMAGES OWN_IMAGES
set -uo pipefail
ctl=$1 shared=$2 own=$3
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Whole disks: one VHD, one VHDX (named in upper case: the kind is chosen without regard to case).
ln -s "$shared/mbr_extended.8m.vhdx" "$tmp/UPPER.VHDX"
for pair in "mbr_primary.dynamic.vhd:$shared/mbr_primary.dynamic.vhd" "mbr_extended.8m.vhdx:$tmp/UPPER.VHDX"; do
  name=${pair%%:*} path=${pair#*:}
  raw=$own/$name.raw
  sectors=$(( $(stat -c %s "$raw") / 512 ))
  check cmp <("$ctl" read "$path" 0 "$sectors") "$raw"
done
# A part in the middle.
check cmp <("$ctl" read "$shared/big.vhd" 9437184 64) <(tail -c +$((9437184 * 512 + 1)) "$own/big.vhd.raw" | head -c $((64 * 512)))

expect_refusal() {
  local err status
  err=$("$ctl" read "$@" 2>&1 >/dev/null); status=$?
  if [ "$status" != 1 ] || [ "$(printf '%s\n' "$err" | wc -l)" != 1 ]; then
    echo "FAILED: read $* gave status $status and: $err"; fail=1
  fi
}
expect_refusal "$own/no such image.vhd" 0 1
printf '{"not": "a disk"}\n' >"$tmp/short.vhdx"
expect_refusal "$tmp/short.vhdx" 0 1                                # less than a sector, whatever its name
expect_refusal "$own/tiny.vhd" 100000 1                              # past the block table
exit $fail
