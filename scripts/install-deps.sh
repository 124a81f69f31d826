#!/usr/bin/env bash
# Installs every Debian package the builds, the tests and the program need.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ python3 zip unzip
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 libwine fonts-wine xvfb xauth x11-utils imagemagick fonts-wqy-microhei locales
  googletest libgtest-dev
  clang libclang-rt-14-dev
  libpugixml-dev valgrind
  chromium
)
# Node runs the extension's tests; a Node from elsewhere, with its own npm, will do.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then PACKAGES+=(nodejs npm); fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# zh_CN.UTF-8 gives Wine the GBK code page; generating it silences setlocale warnings.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null 2>&1 || true
  fi
fi

# puppeteer-core drives the installed Chromium in the extension's test; it
# downloads no browser. 24 is the last to run on Debian's Node.
NODE_DIR="${QUORVA_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}/node"
if [ ! -f "$NODE_DIR/node_modules/puppeteer-core/package.json" ]; then
  mkdir -p "$NODE_DIR"
  npm install --prefix "$NODE_DIR" --no-audit --no-fund --loglevel=error puppeteer-core@24 >/dev/null
fi
