#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the portable core on the host (under ASan/UBSan), the fuzzers for a short
# bounded run, then the Windows build's tests under Wine inside Xvfb.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$ROOT/scripts/install-deps.sh" || exit 1

passed=0
failed=0
run_ctest() {  # build folder name, extra ctest arguments...
  local name=$1; shift
  local log="$BUILD/$name-ctest.log"
  ctest --test-dir "$BUILD/$name" --output-on-failure -j2 "$@" 2>&1 | tee "$log"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  local total fails
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  fails=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - fails))
  failed=$((failed + fails))
}

build_failed() { echo "BUILD FAILED: $1"; failed=$((failed + 1)); }

echo "== host build (ASan/UBSan)"
if configure_and_build host -DQUORVA_SANITIZE=ON; then run_ctest host; else build_failed host; fi

echo "== ThreadSanitizer build (the threaded tests only)"
if cmake -S "$ROOT" -B "$BUILD/tsan" -G Ninja -DQUORVA_TSAN=ON >/dev/null &&
   cmake --build "$BUILD/tsan" --target background_save_tests transfer_tests; then
  run_ctest tsan -R "background_save_tests|transfer_tests"
else
  build_failed tsan
fi

echo "== fuzz build (clang, libFuzzer)"
if CC=clang CXX=clang++ configure_and_build fuzz -DQUORVA_FUZZ=ON; then run_ctest fuzz; else build_failed fuzz; fi

echo "== Windows build (MinGW-w64), tests under Wine"
if configure_and_build win -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-posix.cmake"; then
  prepare_wineprefix
  start_xvfb_if_needed
  start_wineserver
  run_ctest win
  stop_wine_and_xvfb
else
  build_failed win
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
