#!/usr/bin/env bash
# The zip a Windows user downloads holds the program without its debug
# information, with its language packs, the browsers' host and the extension's
# folder; the symbols stay in the build folder.
#   dist_test.sh <build folder> <objdump>
set -euo pipefail
build=$1 objdump=$2
cmake --build "$build" --target dist >/dev/null
listing=$(mktemp -d)
trap 'rm -rf "$listing"' EXIT
(cd "$listing" && unzip -q "$build/quorva.zip")
exe="$listing/quorva/quorva.exe"
status=0
size=$(stat -c %s "$exe")
if [ "$size" -gt 2000000 ]; then echo "quorva.exe in the zip is $size bytes"; status=1; fi
if "$objdump" -h "$exe" | grep -q '\.debug_info'; then echo "quorva.exe in the zip carries debug information"; status=1; fi
for pack in Chinese.ini English.ini; do
  [ -f "$listing/quorva/Language/$pack" ] || { echo "Language/$pack is missing"; status=1; }
done
[ -f "$listing/quorva/default.xml" ] || { echo "default.xml is missing"; status=1; }
for file in quorva-link.exe browser/manifest.json browser/background.js browser/_locales/zh_CN/messages.json \
            browser/_locales/en/messages.json browser/icons/icon-128.png; do
  [ -f "$listing/quorva/$file" ] || { echo "$file is missing"; status=1; }
done
if "$objdump" -h "$listing/quorva/quorva-link.exe" | grep -q '\.debug_info'; then
  echo "quorva-link.exe in the zip carries debug information"; status=1
fi
if ! "$objdump" -h "$build/quorva.debug" | grep -q '\.debug_info'; then echo "no symbols kept in quorva.debug"; status=1; fi
echo "quorva.exe: $size bytes; quorva.zip: $(stat -c %s "$build/quorva.zip") bytes"
exit $status
