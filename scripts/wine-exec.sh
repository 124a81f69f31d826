#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's environment; CTest uses
# it to run the Windows test programs.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
prepare_wineprefix
exec wine "$@"
