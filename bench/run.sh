#!/usr/bin/env bash
# Builds the benchmarks and runs each under Wine, printing their "name: value unit" lines.
# Arguments, when given, name the benchmark exes to run (e.g. bench_chart_value_lists).
set -euo pipefail
. "$(dirname "$0")/../tools/common.sh"
"$VK_ROOT/tools/bootstrap.sh"

cd "$VK_ROOT"
if [ ! -f "$VK_BUILD/mingw/build.ninja" ]; then
  cmake --preset mingw >/dev/null
fi
cmake --build --preset mingw >/dev/null

trap vk_stop_display EXIT
vk_start_display
if [ $# -gt 0 ]; then
  names=("$@")
else
  names=()
  for exe in "$VK_BUILD"/mingw/bin/bench_*.exe; do
    [ -e "$exe" ] && names+=("$(basename "$exe" .exe)")
  done
fi
for name in "${names[@]}"; do
  wine "$VK_BUILD/mingw/bin/$name.exe" </dev/null
done
