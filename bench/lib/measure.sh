# Measuring helpers for the benchmark scripts of bench/ (sourced, not run: scripts/bench runs bench/*.sh only).

# best_seconds COMMAND...: the best wall time of three runs of the command (its output thrown away), in seconds.
best_seconds() {
  local best="" t0 t1 t
  for _ in 1 2 3; do
    t0=$(date +%s%N)
    "$@" >/dev/null
    t1=$(date +%s%N)
    t=$(( (t1 - t0) / 1000 ))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  awk -v us="$best" 'BEGIN { printf "%.3f", us / 1e6 }'
}

# peak_rss_kib COMMAND...: the peak resident set of one run of the command (its output thrown away), in KiB.
peak_rss_kib() {
  local out
  out=$(mktemp)
  /usr/bin/time -f %M -o "$out" "$@" >/dev/null
  cat "$out"
  rm -f "$out"
}
