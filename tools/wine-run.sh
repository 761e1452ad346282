#!/usr/bin/env bash
# Runs a Windows program under Wine with the build tree's prefix: the CTest emulator, also used
# by the other scripts. The prefix and display come from the environment when set.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export DISPLAY=${DISPLAY:-:$(cat "$here/build/display" 2>/dev/null || echo 99)}
# Under heavy load the Wine loader itself now and then dies of SIGSEGV before the program runs
# (exit status 139). A crash inside the program is a Windows exception and ends with its own
# status, so only the loader's signal death is retried.
for attempt in 1 2 3; do
  wine "$@"
  rc=$?
  [ "$rc" -eq 139 ] || exit "$rc"
  echo "wine-run: the Wine loader crashed (attempt $attempt), running again" >&2
done
exit "$rc"
