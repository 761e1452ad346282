#!/usr/bin/env bash
# The README's test command: prepare the machine, build, and run every test under Wine on a
# private Xvfb display with a persistent wineserver, which are stopped again at the end.
# Extra arguments go to ctest (e.g. -R Crc).
set -euo pipefail
. "$(dirname "$0")/common.sh"
"$VK_ROOT/tools/bootstrap.sh"

cd "$VK_ROOT"
if [ ! -f "$VK_BUILD/mingw/build.ninja" ]; then
  cmake --preset mingw >/dev/null
fi
cmake --build --preset mingw -- -k 0

trap vk_stop_display EXIT
vk_start_display
jobs=$(nproc 2>/dev/null || echo 2)
ctest --test-dir "$VK_BUILD/mingw" --output-on-failure --timeout 180 -j "$jobs" "$@"
