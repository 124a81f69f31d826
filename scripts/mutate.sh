#!/usr/bin/env bash
# A habit, not a test step: a mutation run over the named portable files
# against the host tests that cover them, printing each file's score and the
# mutants that survived. Builds in build/mutate (no sanitizers), one job at a
# time; the files are restored in every case.
#   bash scripts/mutate.sh [--sample N] [--list] [-v] FILE...
set -euo pipefail
exec python3 "$(dirname "${BASH_SOURCE[0]}")/mutate.py" "$@"
