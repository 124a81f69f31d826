#!/usr/bin/env bash
# Takes a picture of every page of the settings dialog under Xvfb, in the
# built-in Chinese texts and with the English pack, at 100 % and 150 %
# scaling, and of the pages with an editor open.
# usage: QUORVA_BUILD=<build folder> screenshots.sh OUTPUT_FOLDER
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/common.sh"
OUT=${1:?output folder}
mkdir -p "$OUT"
GALLERY="$BUILD/win/ui/settings/tools/settings_gallery.exe"
[ -f "$GALLERY" ] || { echo "build settings_gallery first" >&2; exit 1; }
prepare_wineprefix
start_xvfb_if_needed

set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  timeout 60 wineserver -w || true
}

shoot() {  # page, picture name, extra arguments...
  local page=$1 picture=$2; shift 2
  local tmp
  tmp=$(mktemp -d)
  wine "$GALLERY" "$page" "$(winepath -w "$tmp/ready")" "$(winepath -w "$tmp/done")" "$@" >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 1 600); do [ -f "$tmp/ready" ] && break; sleep 0.1; done
  if [ -f "$tmp/ready" ]; then
    sleep 0.5  # let the last paint reach the X server
    import -window root "$OUT/$picture.png"
  else
    echo "no dialog for page $page" >&2
  fi
  touch "$tmp/done"
  wait "$pid" || echo "page $page ended with $?" >&2
  rm -rf "$tmp"
}

LANGDIR=$(winepath -w "$ROOT/res/Language")
for dpi in 96 144; do
  set_dpi "$dpi"
  for page in 0 1 2 3; do
    shoot "$page" "page$page-$dpi"
    shoot "$page" "page$page-$dpi-en" "$LANGDIR" English
  done
  shoot 0 "page0-$dpi-editor" editor
  shoot 3 "page3-$dpi-editor" editor
  shoot 0 "page0-$dpi-editor-en" editor "$LANGDIR" English
  shoot 3 "page3-$dpi-editor-en" editor "$LANGDIR" English
done
set_dpi 96
stop_wine_and_xvfb
