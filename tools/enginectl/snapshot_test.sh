#!/usr/bin/env bash
# enginectl snapshot-load (and save --snapshot) on the hand-written snapshots of engine/snapshot/testdata, and
# the refusals. Snapshots of real scans go round trip in the end-to-end matrix (tests/e2e_test.py).
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
# The rows of a folder after the load (--list), as the results list shows them.
check "rows of /DOCS" "$(printf 'Parent...\t\t\t\t\t\nA.TXT\tText Document\t12\t01-01-2025 \t01-01-2025 \t0')" \
  "$ctl" snapshot-load "$work/quick_fat.vsnp" --list /DOCS

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
refused "a folder the tree lacks" "no folder /NONE" "$ctl" snapshot-load "$work/quick_fat.vsnp" --list /NONE
refused "rows of a File Trace snapshot" "Quick or Extensive Scan snapshot" \
  "$ctl" snapshot-load "$work/file_trace.vsnp" --list /
mkdir "$work/out"
refused "saving from a truncated snapshot" "damaged" \
  "$ctl" save "$shared/fat16.fixed.vhd" --snapshot "$work/cut.vsnp" --out "$work/out"
[ -z "$(ls -A "$work/out")" ] || { echo "FAILED: a refused snapshot saved files"; fail=1; }
for args in "snapshot-load" "snapshot-load $work/quick_fat.vsnp --list" "snapshot-load $work/quick_fat.vsnp --other x" \
            "save $shared/fat16.fixed.vhd --snapshot $work/quick_fat.vsnp --out $work/out --choose 1"; do
  # shellcheck disable=SC2086
  "$ctl" $args >/dev/null 2>&1; [ $? = 2 ] || { echo "FAILED: accepted: $args"; fail=1; }
done
exit $fail
