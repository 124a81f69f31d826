#!/usr/bin/env bash
# Builds the benchmark optimised and prints its figures; with --callgrind also
# the instruction count of every case.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$ROOT/scripts/install-deps.sh"
configure_and_build bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD/bench" --target bench
if [ "${1:-}" = "--callgrind" ]; then cmake --build "$BUILD/bench" --target bench-callgrind; fi
