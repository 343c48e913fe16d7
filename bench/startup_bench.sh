#!/usr/bin/env bash
# Start-up, start-up window and opening times of the release program under Wine (what is timed:
# startup_bench.cpp):
#   bench/startup_bench.sh [RUNS] [ARTICLES]        (defaults: 5 runs, 100000 articles, 10,000 keywords)
# Needs the release64 program, the win64 build of startup_bench and the bench preset's kbdoc_bench,
# which writes the data file (QUORVANE_EXE, STARTUP_BENCH and KBDOC_BENCH name other builds).
# Cold: RUNS times in a fresh Wine prefix with its own wineserver, the program's first start there
# (Wine's own start-up is spent before the clock starts, on the timer's own start). Warm: RUNS + 1
# rounds in one wineserver, the first left out.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
articles=${2:-100000}
exe=${QUORVANE_EXE:-build/release64/bin/quorvane.exe}
timer=${STARTUP_BENCH:-build/win64/bin/startup_bench.exe}
maker=${KBDOC_BENCH:-build/bench/bin/kbdoc_bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

file=$work/bench.xrd
"$maker" --make "$file" --articles "$articles" --bodies tiny --keywords 10000 >/dev/null

# A path as Wine's programs see it (drive Z: is the root).
winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }
exe=$(winpath "$exe")
wfile=$(winpath "$file")

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "cold: $runs runs, each the first start in a new wineserver"
: >"$work/cold"
for _ in $(seq 1 "$runs"); do
  scripts/wine-run "$timer" --program "$exe" --runs 1 --file "$wfile" --titles "$articles" | tee -a "$work/cold" | grep '^run'
done
echo "warm: $((runs + 1)) rounds in one wineserver, the first left out"
scripts/wine-run "$timer" --program "$exe" --runs "$((runs + 1))" --file "$wfile" --titles "$articles" >"$work/warm"
grep '^run' "$work/warm"

for kind in cold warm; do
  for step in start baseline splash welcome command open; do
    values=$(awk -v s="$step" -v skip="$([ $kind = warm ] && echo 1 || echo 0)" \
      '$1 == "run" && $3 == s && $2 > skip { print $4 }' "$work/$kind")
    [ -n "$values" ] || continue
    printf '%-5s %-9s median %8.1f ms\n' "$kind" "$step" "$(echo "$values" | median)"
  done
  start=$(awk -v skip="$([ $kind = warm ] && echo 1 || echo 0)" '$1 == "run" && $3 == "start" && $2 > skip { print $4 }' "$work/$kind" | median)
  base=$(awk -v skip="$([ $kind = warm ] && echo 1 || echo 0)" '$1 == "run" && $3 == "baseline" && $2 > skip { print $4 }' "$work/$kind" | median)
  printf '%-5s start without Wine'"'"'s process start (start - baseline): %.1f ms\n' "$kind" "$(echo "$start - $base" | bc -l)"
done
