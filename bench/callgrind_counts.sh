#!/usr/bin/env bash
# Instruction counts of every benchmark case (one run each under callgrind,
# counting only the timed work). Usage: callgrind_counts.sh BENCH_EXE DATA_DIR
set -euo pipefail
bench=$1
data=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
printf '%-28s %16s\n' case instructions
for name in $("$bench" "$data" --list); do
  valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/$name" \
    "$bench" "$data" --only "$name" >/dev/null 2>&1 || { printf '%-28s %16s\n' "$name" failed; continue; }
  count=$(grep -E '^(summary|totals):' "$out/$name" | tail -n1 | awk '{print $2}')
  printf '%-28s %16s\n' "$name" "$(printf "%'d" "$count" 2>/dev/null || echo "$count")"
done
