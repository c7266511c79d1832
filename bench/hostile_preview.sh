#!/usr/bin/env bash
# Damaged and hostile files through the program's window, each beside a sound file of its kind, on a FAT32
# volume (bench/hostile_volume.py, with bench/hostile_html.py's files when it is there): a ZIP whose central
# header 1,000 of 2,000 is damaged, a 189-byte ZIP whose ZIP64 end record claims 2^31-2 members, a 4 MiB
# dBASE table with one zero-length field, a cabinet of 65,535 members, a 4.7 MB ZIP of 50,000 members, a 13 KB DXF
# drawing whose block names itself 500 times, a 1.7 KB one of a million nested circles. Each file is previewed in a program
# run of its own (scripts/ui-scenario --preview: seconds from the click on its row on page 4 to the painted
# preview), with a time limit (HOSTILE_LIMIT seconds, default 60): a file that passes it "did not answer".
# DORVANE_BUILD names the win32 build.
#   bench/hostile_preview.sh RELEASE_BUILD_FOLDER
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
limit=${HOSTILE_LIMIT:-60}
volume_dir=$repo/build/bench/hostile
image=$volume_dir/hostile.fixed.vhd
stale=0
for source in "$here/hostile_volume.py" "$here/hostile_html.py" "$repo/tools/images/preview/make_preview_volume.py" \
              "$repo/preview/archive/make_test_archives.py"; do
  if [ -e "$source" ] && [ -e "$image" ] && [ "$source" -nt "$image" ]; then stale=1; fi
done
if [ ! -e "$image" ] || [ "$stale" = 1 ]; then
  /usr/bin/python3 "$here/hostile_volume.py" --out "$volume_dir" >/dev/null
fi
cat "$image" >/dev/null  # into the page cache

# path <TAB> kind <TAB> role <TAB> size
listing=$(/usr/bin/python3 -c '
import json, sys
for f in json.load(open(sys.argv[1])):
    print("\t".join([f["path"], f["kind"], f["role"], str(f["size"])]))' "$volume_dir/hostile.json")

# One line a file: its seconds (or that it did not answer), what the pane shows (view, the start of its
# detail) and the boxes it showed first.
printf '%-28s %-7s %10s  %-24s %s\n' file role bytes seconds shown
while IFS=$'\t' read -r path kind role size; do
  if out=$("$repo/scripts/ui-scenario" --image "$image" --mode quick --partition 0 --no-tree --preview "$path" \
             --timeout "$limit" 2>&1); then
    line=$(awk -F'\t' -v p="$path" '$1 == "preview" && $2 == p' <<<"$out" | head -1)
    seconds=$(cut -f6 <<<"$line")
    shown="$(cut -f3 <<<"$line") $(cut -f4 <<<"$line" | cut -c1-40)"
    boxes=$(cut -f5 <<<"$line")
    [ -z "$boxes" ] || shown="$shown; box: $boxes"
  else
    seconds="did not answer in ${limit} s"
    shown=$(tail -1 <<<"$out" | cut -c1-80)
  fi
  printf '%-28s %-7s %10s  %-24s %s\n' "$path" "$role" "$size" "$seconds" "$shown"
done <<<"$listing"
