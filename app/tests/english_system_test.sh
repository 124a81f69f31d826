#!/usr/bin/env bash
# quorva.exe started on an English system (ANSI code page 1252) with no
# language chosen takes the English pack by itself and keeps it at close.
# The locale is the Unix one Wine starts the program under, so the program is
# started from here, not from a Windows test process (whose children inherit
# its code page).
#   english_system_test.sh <quorva.exe> <main_window_tool.exe> <language folder>
set -euo pipefail
exe=$1 tool=$2 packs=$3
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$exe" "$folder/quorva.exe"
mkdir "$folder/Language"
cp "$packs"/*.ini "$folder/Language/"
printf '<?xml version="1.0" encoding="utf-8"?>\r\n<settings>\r\n<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n<Other.InIEBookmark>0</Other.InIEBookmark>\r\n</settings>\r\n' >"$folder/setting.xml"

cd "$folder"
# The browser's entry already points here (the English pack's menu text):
# no hint waits for an answer.
wine reg add 'HKCU\Software\Microsoft\Internet Explorer\MenuExt\!&Add to quorva' /ve \
  /d "$(winepath -w "$folder")\\Bm_Link.htm" /f >/dev/null 2>&1
LC_ALL=en_US.UTF-8 wine quorva.exe >/dev/null 2>&1 &
program=$!
status=0
if ! wine "$tool" wait 60; then echo "the main window did not appear"; status=1; fi
wine "$tool" close 30 || status=1
wait "$program" || true
wine quorva.exe /UnregServer >/dev/null 2>&1 || true

if ! grep -q '<General.Language>English</General.Language>' setting.xml; then
  echo "General.Language is not English:"; grep 'General.Language' setting.xml || true
  status=1
fi
exit $status
