#!/usr/bin/env bash
# Runs a Windows program under Wine: the CTest emulator, also used by the other scripts. The
# loader and prefix are those of the program's own architecture (read from its header; VK_ARCH
# when the first argument is not a Windows program). The prefix and display come from the
# environment when set.
. "$(dirname "$0")/common.sh"
arch=$(vk_pe_arch "$1")
arch=${arch:-${VK_ARCH:-win32}}
prefix=${WINEPREFIX:-}
vk_arch_env "$arch"
# A prefix given by the caller (a copy, for instance) wins over the architecture's own.
[ -n "$prefix" ] && export WINEPREFIX=$prefix
export DISPLAY=${DISPLAY:-:$(cat "$VK_BUILD/display" 2>/dev/null || echo 99)}
# One locale for every run (Wine takes the user's regional settings and code page from it), so a
# developer's own locale cannot change what the tests see.
export LC_ALL=C.UTF-8
# Under heavy load the Wine loader itself now and then dies of SIGSEGV before the program runs
# (exit status 139). A crash inside the program is a Windows exception and ends with its own
# status, so only the loader's signal death is retried.
for attempt in 1 2 3; do
  vk_wine "$@"
  rc=$?
  if [ "$rc" -ne 139 ]; then
    # A failure that printed nothing would otherwise leave no trace in the test log.
    [ "$rc" -eq 0 ] || echo "wine-run: $(basename "$1") ended with status $rc" >&2
    exit "$rc"
  fi
  echo "wine-run: the Wine loader crashed (attempt $attempt), running again" >&2
done
exit "$rc"
