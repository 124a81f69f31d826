#!/usr/bin/env bash
# The extension in Debian's Chromium against quorva.exe under Wine, through
# quorva-link.exe registered as the native messaging host of the test's own
# browser profile (a wrapper script runs it under Wine in the project's
# prefix). Needs a display and a running wineserver, as the other Wine tests.
# puppeteer-core comes from npm into the build folder (scripts/install-deps.sh).
#   browser_e2e.sh <quorva.exe> <quorva-link.exe> <main_window_tool.exe> <extension>
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
exe=$1 host=$2 tool=$3 extension=$4
modules="$BUILD/node/node_modules"

[ -x /usr/bin/chromium ] || { echo "chromium is not installed (scripts/install-deps.sh)"; exit 1; }
[ -d "$modules/puppeteer-core" ] || { echo "puppeteer-core is not installed in $modules"; exit 1; }

mkdir -p "$BUILD"
work=$(mktemp -d "$BUILD/browser-e2e.XXXXXX")
program="$work/program"
mkdir -p "$program" "$work/profile/NativeMessagingHosts"
cp "$exe" "$program/quorva.exe"
cp "$host" "$program/quorva-link.exe"
printf '<?xml version="1.0" encoding="utf-8"?><root>\r\n<G t="Inbox"/>\r\n</root>\r\n' >"$program/bookmark.xml"
printf '<?xml version="1.0" encoding="utf-8"?>\r\n<settings>\r\n<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n<Other.InIEBookmark>0</Other.InIEBookmark>\r\n<Other.DisplayAddBookmarkDlg>0</Other.DisplayAddBookmarkDlg>\r\n</settings>\r\n' >"$program/setting.xml"

finish() {
  wine "$tool" close 30 </dev/null >/dev/null 2>&1 || true
  wine "$program/quorva.exe" /UnregServer </dev/null >/dev/null 2>&1 || true
  wine reg delete "$menu_key" /f </dev/null >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap finish EXIT

# The program's context-menu entry already names this folder, so that its
# start asks nothing; the class is registered, so that the first link starts it.
winfolder=$(winepath -w "$program" 2>/dev/null)
menu_key='HKCU\Software\Microsoft\Internet Explorer\MenuExt\!&添加到岚舟链匣中'
wine reg add "$menu_key" /ve /d "$winfolder\\Bm_Link.htm" /f </dev/null >/dev/null 2>&1
wine "$program/quorva.exe" /RegServer </dev/null >/dev/null 2>&1 || { echo "RegServer failed"; exit 1; }

# Chromium passes the extension's origin; the host's error output goes to a
# log, never to the browser's pipe.
cat >"$work/quorva-link.sh" <<WRAPPER
#!/bin/sh
export WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES='$WINEDLLOVERRIDES'
export LC_ALL=zh_CN.UTF-8 DISPLAY='${DISPLAY:-}'
exec wine '$program/quorva-link.exe' "\$@" 2>>'$work/host.log'
WRAPPER
chmod +x "$work/quorva-link.sh"
cat >"$work/profile/NativeMessagingHosts/io.github.quorva.link.json" <<MANIFEST
{
  "name": "io.github.quorva.link",
  "description": "quorva-link.exe under Wine",
  "path": "$work/quorva-link.sh",
  "type": "stdio",
  "allowed_origins": ["chrome-extension://jfmddahhgobmkhoindnjoicepoomfnkk/"]
}
MANIFEST

timeout 300 node "$(dirname "${BASH_SOURCE[0]}")/browser_e2e.js" "$extension" "$work/profile" \
  "$program/bookmark.xml" "$modules"
status=$?
if [ $status -ne 0 ] && [ -s "$work/host.log" ]; then echo "host's error output:"; cat "$work/host.log"; fi
exit $status
