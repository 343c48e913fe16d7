#!/usr/bin/env bash
# Instructions of our steps of kbdoc_bench, counted by callgrind (they do not depend on the machine's
# load), per step and per article, for each base size given:
#   bench/count_instructions.sh [articles,...] [body]     (defaults: 50000,100000,400000 tiny)
# Needs the bench preset built (cmake --preset bench && cmake --build --preset bench; KBDOC_BENCH names
# another build of the program) and valgrind.
# Only the steps are instrumented; generating the file runs uninstrumented (still some times slower).
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=${1:-50000,100000,400000}
body=${2:-tiny}
bench=${KBDOC_BENCH:-build/bench/bin/kbdoc_bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%-10s %-22s %16s %14s\n' articles step instructions per-unit
for n in ${sizes//,/ }; do
  rm -f "$work"/cg.out*
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$work/cg.out" \
    "$bench" --count --articles "$n" --bodies "$body" --folder "$work" >"$work/log" 2>"$work/valgrind.log"
  # The deleted keyword's article count, from the bench's own line.
  users=$(sed -n 's/.*delete a keyword used by ~10% (\([0-9]*\)).*/\1/p' "$work/log")
  for dump in $(ls "$work"/cg.out.* | sort -t. -k3 -n); do
    step=$(sed -n 's/^desc: Trigger: Client Request: //p' "$dump")
    total=$(sed -n 's/^summary: //p;s/^totals: //p' "$dump" | head -1)
    case "$step" in
      "open + All Titles") unit=$n; label="/article" ;;
      "add 1000") unit=1000; label="/article" ;;
      "delete keyword") unit=${users:-1}; label="/article of kw" ;;
      *) unit=1; label="" ;;
    esac
    printf '%-10s %-22s %16s %14s %s\n' "$n" "$step" "$total" "$((total / unit))" "$label"
  done
done
