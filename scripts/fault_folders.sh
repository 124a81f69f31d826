#!/usr/bin/env bash
# The folders in which the end-to-end tests run quorva.exe against faults of
# the file system, which a test inside Wine cannot make itself:
#   <base>/full      a small tmpfs that the test fills up (disk full);
#   <base>/readonly  a read-only mount holding a copy of the program, a
#                    bookmark file and quiet settings.
# <base>/ready exists when both are mounted. Mounting needs root; without it
# the tests that need these folders are skipped and say so.
#   fault_folders.sh setup <base> <quorva.exe>
#   fault_folders.sh cleanup <base>
set -u
action=$1
base=$2

take_down() {
  rm -f "$base/ready"
  for m in full readonly; do
    if mountpoint -q "$base/$m" 2>/dev/null; then umount "$base/$m" || umount -l "$base/$m"; fi
  done
}

case "$action" in
setup)
  exe=$3
  take_down
  mkdir -p "$base/full" "$base/readonly"
  exe_mb=$(( $(stat -c %s "$exe") / 1048576 + 1 ))
  if ! mount -t tmpfs -o "size=$((exe_mb + 8))m" quorva-full "$base/full" 2>/dev/null; then
    echo "fault folders: cannot mount a tmpfs here (not root?); the fault tests will be skipped"
    exit 0
  fi
  mount -t tmpfs -o size=$((exe_mb + 8))m quorva-readonly "$base/readonly" || { take_down; exit 0; }
  cp "$exe" "$base/readonly/quorva.exe"
  python3 - "$base/readonly" <<'PY'
import sys
folder = sys.argv[1]
lines = ['<?xml version="1.0" encoding="utf-8"?><root>']
for c in range(50):
    lines.append('<G t="Category %d">' % c)
    lines += ['<a t="Bookmark %d.%d" u="http://example.com/%d/%d" r=""/>' % (c, b, c, b) for b in range(20)]
    lines.append('</G>')
lines.append('</root>')
open(folder + '/bookmark.xml', 'wb').write(('\r\n'.join(lines) + '\r\n').encode())
open(folder + '/setting.xml', 'wb').write(
    b'<?xml version="1.0" encoding="utf-8"?>\r\n<settings>\r\n'
    b'<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n'
    b'<Other.InIEBookmark>0</Other.InIEBookmark>\r\n</settings>\r\n')
PY
  mount -o remount,ro "$base/readonly" || { take_down; exit 0; }
  touch "$base/ready"
  echo "fault folders ready under $base"
  ;;
cleanup)
  take_down
  ;;
esac
exit 0
