#!/usr/bin/env bash
# Builds the benchmarks and runs each under Wine, printing their "name: value unit" lines. The
# 32-bit build runs where this machine runs 32-bit code, else the 64-bit one; VK_ARCH chooses.
# Arguments, when given, name the benchmark exes to run (e.g. bench_chart_value_lists).
set -euo pipefail
. "$(dirname "$0")/../tools/common.sh"
"$VK_ROOT/tools/bootstrap.sh"

cd "$VK_ROOT"
vk_use_run_arch benchmarks || exit 1
arch=$VK_ARCH
vk_configure_build "$arch" >/dev/null

trap vk_stop_display EXIT
vk_start_display
vk_start_wineserver
if [ $# -gt 0 ]; then
  names=("$@")
else
  names=()
  for exe in "$VK_BUILD/$arch"/bin/bench_*.exe; do
    [ -e "$exe" ] && names+=("$(basename "$exe" .exe)")
  done
fi
for name in "${names[@]}"; do
  vk_wine "$VK_BUILD/$arch/bin/$name.exe" </dev/null
done
