#!/usr/bin/env bash
# Builds the benchmark optimised and prints its figures; with --callgrind also
# the instruction count of every case. With --tree: how long the category
# tree takes from its creation to its first paint over 10,000 categories
# (the Windows build, under Wine). With --opening: how long the commands that
# open bookmarks hold the window's thread; with --list: the bookmark list's
# operations on 20,000 rows; with --frame: the main window's start and its
# frames while it is resized and its splitter dragged with 100,000
# bookmarks, its show from the tray icon and the icon's re-adds (all under
# Wine). With --toolbar: the toolbar made from the longest layout it keeps
# and its icon-size change (under Wine). With --settings: the settings
# dialog from its creation to its first paint (also over a homepage group of
# 10,000 entries), its page switches and editors. With --program: quorva.exe
# under Wine with the 100,000-bookmark workload against an empty collection
# (start-up to the first paint, memory, the window's longest stall during
# each periodic save, closing); it takes about two minutes. With --transfer:
# the import and export jobs under Wine (the workload into the category tree
# and again answering "全部", a folder of 20,000 shortcuts, an export, each
# against the shortcut object's calls alone, and the longest gap of a 10 ms
# timer on the window's thread). With --wizard: the workload imported through
# the import wizard against the bare job, alternating. With --browser: the
# extension in Chromium sending LINKS (20) links through quorva-link.exe to
# quorva.exe under Wine, each timed from the extension's call to the reply.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$ROOT/scripts/install-deps.sh"
# The Windows build's benchmarks run under Wine: builds `targets`, writes the
# 100,000-bookmark workload when missing, starts the display.
WORKLOAD="$BUILD/win/bench-data/bm.xml"
prepare_wine_bench() {  # targets...
  configure_and_build win -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-posix.cmake" >/dev/null
  cmake --build "$BUILD/win" --target "$@"
  if [ ! -f "$WORKLOAD" ]; then
    mkdir -p "$(dirname "$WORKLOAD")"
    python3 "$ROOT/bench/gen_bookmarks.py" "$WORKLOAD"
  fi
  prepare_wineprefix
  start_xvfb_if_needed
  trap stop_wine_and_xvfb EXIT
}
case "${1:-}" in
  --tree)
    prepare_wine_bench classtree_load_bench
    wine "$BUILD/win/ui/classtree/tests/classtree_load_bench.exe" 10000 7
    exit 0 ;;
  --toolbar)
    prepare_wine_bench toolbar_bench
    wine "$BUILD/win/ui/mainframe/tests/toolbar_bench.exe" 20
    exit 0 ;;
  --settings)
    # The settings dialog: creation to first paint, page switches, editors.
    prepare_wine_bench settings_bench
    wine "$BUILD/win/ui/settings/tests/settings_bench.exe" 7
    exit 0 ;;
  --frame)
    prepare_wine_bench frame_bench
    wine "$BUILD/win/ui/mainframe/tests/frame_bench.exe" 20
    exit 0 ;;
  --transfer)
    prepare_wine_bench transfer_bench
    wine "$BUILD/win/transfer/tests/transfer_bench.exe" "$(winepath -w "$WORKLOAD")" "${SHORTCUTS:-20000}" "${EXPORT_CATEGORIES:-20}"
    exit 0 ;;
  --wizard)
    # The workload imported through the wizard and by the bare job, three
    # rounds alternating, each in a fresh process.
    prepare_wine_bench wizard_bench
    for _ in 1 2 3; do
      for mode in direct wizard; do
        wine "$BUILD/win/ui/wizard/tests/wizard_bench.exe" "$(winepath -w "$WORKLOAD")" "$mode"
      done
    done
    exit 0 ;;
  --list)
    prepare_wine_bench list_bench
    wine "$BUILD/win/ui/bookmarklist/tests/list_bench.exe" 20000 5
    exit 0 ;;
  --opening)
    prepare_wine_bench opening_bench url_recorder
    wine "$BUILD/win/integration/tests/opening_bench.exe" "$(winepath -w "$WORKLOAD")" \
      "$(winepath -w "$BUILD/win/integration/tests/url_recorder.exe")" 9
    exit 0 ;;
  --browser)
    configure_and_build win -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-posix.cmake" >/dev/null
    cmake --build "$BUILD/win" --target quorva quorva-link main_window_tool
    prepare_wineprefix
    start_xvfb_if_needed
    start_wineserver
    trap stop_wine_and_xvfb EXIT
    QUORVA_BROWSER_BENCH=${LINKS:-20} bash "$ROOT/browser/tests/browser_e2e.sh" "$BUILD/win/app/quorva.exe" \
      "$BUILD/win/app/link/quorva-link.exe" "$BUILD/win/app/main_window_tool.exe" "$ROOT/browser/extension"
    exit 0 ;;
  --program)
    prepare_wine_bench program_bench
    # BASELINE=path/to/an/earlier/quorva.exe adds its figures, taken in the same
    # rounds; ROUNDS=N sets the number of rounds (3).
    baseline=()
    if [ -n "${BASELINE:-}" ]; then baseline=(--baseline "$(winepath -w "$BASELINE")"); fi
    wine "$BUILD/win/bench/program/program_bench.exe" "$(winepath -w "$WORKLOAD")" --saves "${SAVES:-7}" \
      --rounds "${ROUNDS:-3}" "${baseline[@]}"
    exit 0 ;;
esac
configure_and_build bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD/bench" --target bench
if [ "${1:-}" = "--callgrind" ]; then cmake --build "$BUILD/bench" --target bench-callgrind; fi
