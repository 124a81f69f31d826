# Sourced by the other scripts: folders and the Wine environment of the project.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QUORVA_BUILD:-$ROOT/build}

export WINEPREFIX=${WINEPREFIX:-$BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# winemenubuilder would start for every shortcut the shortcut object saves.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
export LC_ALL=zh_CN.UTF-8

# Makes the private Wine prefix once: no crash dialog (a crash ends the
# process), and a virtual desktop so that hiding windows costs no wait and the
# tray has a taskbar.
prepare_wineprefix() {
  if [ ! -f "$WINEPREFIX/.quorva-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
    timeout 60 wineserver -w || wineserver -k || true
    touch "$WINEPREFIX/.quorva-ready"
  fi
  install_caption_font
}

# Windows draw their caption buttons with the Marlett font. Debian's Wine
# does not find it in its own font folder (the buttons then show as "0 1 r"),
# but it does in the prefix's Fonts folder; an existing prefix gets it too.
install_caption_font() {
  local font=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f "$font" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then cp "$font" "$fonts/"; fi
}

# Starts Xvfb on a free display when there is none; XVFB_PID is set when we did.
XVFB_PID=""
start_xvfb_if_needed() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

# Starts the prefix's Wine server and its system services (services.exe,
# plugplay, rpcss...) ahead of the test programs, detached from every output,
# and keeps them until stop_wine_and_xvfb. Started by the first test program
# instead, they would inherit that program's output pipe, and CTest would
# count the test as running (and keep one of its slots) until they end,
# minutes later.
WINESERVER_PERSISTENT=""
start_wineserver() {
  wineserver -p </dev/null >/dev/null 2>&1 || return 0
  WINESERVER_PERSISTENT=1
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_wine_and_xvfb() {
  if [ -n "$WINESERVER_PERSISTENT" ]; then
    wineserver -k 2>/dev/null || true
  else
    timeout 30 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null || true
  fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}

configure_and_build() {  # name, extra cmake arguments...
  local name=$1; shift
  cmake -S "$ROOT" -B "$BUILD/$name" -G Ninja "$@" >/dev/null
  cmake --build "$BUILD/$name"
}
