#!/usr/bin/env bash
# The README's test command: prepare the machine, build the 32-bit and the 64-bit program, and
# run the whole suite under every Wine that runs here (the 64-bit one always, the 32-bit one
# where the kernel runs i386 code) on a private Xvfb display, each with a persistent
# wineserver; all are stopped again at the end. A suite that cannot run here is reported, never
# counted as passed. Extra arguments go to ctest (e.g. -R Crc). VK_ARCH=win64 (or win32) builds
# and tests that architecture only, for quicker rounds while working. VK_JOBS=N limits both the
# compile jobs and the tests run at once (default: one per processor), for machines shared with
# other builds.
set -euo pipefail
. "$(dirname "$0")/common.sh"
[ -n "${VK_ARCH:-}" ] && VK_ARCHES=("$VK_ARCH")
"$VK_ROOT/tools/bootstrap.sh"

cd "$VK_ROOT"
for arch in "${VK_ARCHES[@]}"; do
  start=$SECONDS
  vk_log "building $arch"
  vk_configure_build "$arch" ${VK_JOBS:+-j "$VK_JOBS"} -- -k 0
  vk_log "built $arch in $((SECONDS - start)) s"
done

trap vk_stop_display EXIT
vk_start_display
jobs=${VK_JOBS:-$(nproc 2>/dev/null || echo 2)}
status=0
summary=()
for arch in "${VK_ARCHES[@]}"; do
  if ! vk_arch_runs "$arch"; then
    vk_log "the $arch suite cannot run on this machine (its kernel refuses the $arch Wine loader): NOT RUN"
    summary+=("$arch: not run (no $arch support on this machine)")
    continue
  fi
  start=$SECONDS
  vk_arch_env "$arch"
  vk_start_wineserver
  vk_log "running the $arch suite"
  if ctest --test-dir "$VK_BUILD/$arch" --output-on-failure --timeout 180 -j "$jobs" "$@"; then
    summary+=("$arch: passed ($((SECONDS - start)) s)")
  else
    summary+=("$arch: FAILED ($((SECONDS - start)) s)")
    status=1
  fi
done
for line in "${summary[@]}"; do vk_log "$line"; done
exit "$status"
