#!/usr/bin/env bash
# Runs a Windows program under Wine with the build tree's prefix: the CTest emulator, also used
# by the other scripts. The prefix and display come from the environment when set.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export DISPLAY=${DISPLAY:-:$(cat "$here/build/display" 2>/dev/null || echo 99)}
exec wine "$@"
