#!/usr/bin/env bash
# The preview of one file through the program's window against saving it with the headless driver: a 5 MB
# JPEG, a 5 MB text file, a 1 MB ZIP, and drawings written by ezdxf at two sizes (a town map of 375 and 1,500
# streets named at many angles, a survey of 26,434 and 105,738 trees) on a FAT32 volume
# (tools/images/preview/make_preview_volume.py --bench). The window's time runs from the click on the file's row on page 4 to the pane's painted preview
# (scripts/ui-scenario --preview: the file read from the image into a temporary file, the viewer made and
# painted), best of three clicks of each; enginectl's is `enginectl save --filter NAME` of the same file
# (its Quick Scan of the volume included), best of three runs. Prints both and preview / save: below 1, the
# preview is shown sooner than the driver saves the file. DORVANE_BUILD names the win32 build.
#   bench/ui_preview.sh RELEASE_BUILD_FOLDER
set -euo pipefail
# shellcheck source=bench/lib/enginectl.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/enginectl.sh" "$1"
repo=$(cd "$here/.." && pwd)

volume_dir=$cache/preview
image=$volume_dir/bench.fixed.vhd
generator=$repo/tools/images/preview/make_preview_volume.py
if [ ! -e "$image" ] || [ "$generator" -nt "$image" ]; then
  /usr/bin/python3 "$generator" --bench --out "$volume_dir" >/dev/null
fi
cat "$image" >/dev/null  # into the page cache

files=(Bench.jpg Bench.txt Bench.zip Streets_375.dxf Streets_1500.dxf Trees_26434.dxf Trees_105738.dxf)
clicks=()
for _ in 1 2 3; do
  for f in "${files[@]}"; do clicks+=(--preview "/$f"); done
done
out=$("$repo/scripts/ui-scenario" --image "$image" --mode quick --partition 0 --no-tree "${clicks[@]}" --timeout 600)

saved=$(mktemp -d)
trap 'rm -rf "$saved"' EXIT
for f in "${files[@]}"; do
  size=$(awk -F'\t' -v p="/$f" '$1 == "preview" && $2 == p { print $3 ":" $4; exit }' <<<"$out" | cut -c1-40)
  window=$(awk -F'\t' -v p="/$f" '$1 == "preview" && $2 == p { if (best == "" || $6 < best) best = $6 } END { print best }' <<<"$out")
  [ -n "$window" ] || { echo "$f: no preview in the scenario's output" >&2; exit 1; }
  engine=$(best_seconds "$enginectl" save "$image" --partition 0 --out "$saved" --duplicates overwrite --filter "$f")
  bytes=$(stat -c %s "$saved/$f" 2>/dev/null || echo 0)
  awk -v f="$f" -v b="$bytes" -v w="$window" -v e="$engine" -v shown="$size" 'BEGIN {
    printf "%-18s %8.2f MB   preview %6.3f s   enginectl save %6.3f s   preview/save %.2f   (shown: %s)\n",
           f, b / 1e6, w, e, w / e, shown
  }'
done
