#!/usr/bin/env bash
# enginectl snapshot-load on the hand-written snapshots of engine/snapshot/testdata, and its refusals.
#   snapshot_test.sh ENGINECTL TESTDATA SHARED_IMAGES
set -uo pipefail
ctl=$1 testdata=$2 shared=$3
fail=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for f in "$testdata"/*.vsnp.hex; do
  python3 -c 'import sys; sys.stdout.buffer.write(bytes.fromhex("".join(l.split("#")[0] for l in open(sys.argv[1]))))' \
    "$f" > "$work/$(basename "$f" .hex)"
done

check() {  # name, wanted output, command...
  local name=$1 want=$2; shift 2
  local got; got=$("$@" 2>"$work/stderr")
  if [ "$got" != "$want" ]; then
    echo "FAILED: $name: got"; printf '%s\n' "$got"; echo "wanted"; printf '%s\n' "$want"; fail=1
  fi
}

check "Quick Scan of FAT" "$(printf 'D\t0\t0\t/DOCS\nF\t0\t12\t/DOCS/A.TXT\nF\t1\t4096\t/_B.BIN')" \
  "$ctl" snapshot-load "$work/quick_fat.vsnp"
check "File Trace" "$(printf '4096\t1.jpg\tGraphics Files\n9029\t2.jpg\tGraphics Files')" \
  "$ctl" snapshot-load "$work/file_trace.vsnp"

# Refusals: status 1 and the message on standard error.
refused() {  # name, message, command...
  local name=$1 message=$2; shift 2
  "$@" >/dev/null 2>"$work/stderr"
  local status=$?
  if [ $status != 1 ] || ! grep -qF "$message" "$work/stderr"; then
    echo "FAILED: $name: status $status, stderr:"; cat "$work/stderr"; fail=1
  fi
}
head -c 100 "$work/quick_fat.vsnp" > "$work/cut.vsnp"
refused "truncated" "damaged" "$ctl" snapshot-load "$work/cut.vsnp"
refused "NTFS snapshot over a FAT image" "Source file and load recovery snapshot mismatch" \
  "$ctl" snapshot-load "$work/extensive_ntfs.vsnp" --image "$shared/fat16.fixed.vhd"
refused "missing file" "cannot read" "$ctl" snapshot-load "$work/none.vsnp"
"$ctl" snapshot-load >/dev/null 2>&1; [ $? = 2 ] || { echo "FAILED: no file accepted"; fail=1; }
exit $fail
