#!/usr/bin/env bash
# The page viewer loading damaged and hostile pages and a good one (bench/hostile_html.py), natively.
#   bench/html_load.sh RELEASE_BUILD_FOLDER
set -euo pipefail
pages=$(mktemp -d)
trap 'rm -rf "$pages"' EXIT
/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/hostile_html.py" "$pages" >/dev/null
"$1/bench/html_load_bench" "$pages"/*.html
