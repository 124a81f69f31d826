#!/usr/bin/env bash
# Takes a picture of every editing dialog under Xvfb, in the built-in Chinese
# texts and with the English pack, at 100 % and 150 % scaling.
# usage: QUORVA_BUILD=<build folder> screenshots.sh OUTPUT_FOLDER
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/common.sh"
OUT=${1:?output folder}
mkdir -p "$OUT"
GALLERY="$BUILD/win/ui/dialogs/tools/dialog_gallery.exe"
[ -f "$GALLERY" ] || { echo "build dialog_gallery first" >&2; exit 1; }
prepare_wineprefix
start_xvfb_if_needed

set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  timeout 60 wineserver -w || true
}

shoot() {  # name, picture name, extra arguments...
  local name=$1 picture=$2; shift 2
  local tmp
  tmp=$(mktemp -d)
  wine "$GALLERY" "$name" "$(winepath -w "$tmp/ready")" "$(winepath -w "$tmp/done")" "$@" >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 1 600); do [ -f "$tmp/ready" ] && break; sleep 0.1; done
  if [ -f "$tmp/ready" ]; then
    sleep 0.5  # let the last paint reach the X server
    import -window root "$OUT/$picture.png"
  else
    echo "no dialog for $name" >&2
  fi
  touch "$tmp/done"
  wait "$pid" || echo "$name ended with $?" >&2
  rm -rf "$tmp"
}

LANGDIR=$(winepath -w "$ROOT/res/Language")
for dpi in 96 144; do
  set_dpi "$dpi"
  for name in bookmark bookmark-refused class homepage select move replace about; do
    shoot "$name" "$name-$dpi"
    shoot "$name" "$name-$dpi-en" "$LANGDIR" English
  done
done
set_dpi 96
stop_wine_and_xvfb
