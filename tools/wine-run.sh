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
# (exit status 139), or the process ends at once with a failure status having printed nothing.
# A crash inside the program is a Windows exception and ends with its own status, and a failing
# test program always prints its report, so only these two start-up deaths are retried.
# The program writes into a file, not a pipe: a Wine helper process it starts (the desktop
# process, when it is the first window of the session) inherits its standard handles and lives
# on, and a reader of a pipe would wait for it until the test's time-out.
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2 3; do
  vk_wine "$@" >"$out" 2>"$err"
  rc=$?
  cat "$out"
  cat "$err" >&2
  if [ "$rc" -eq 139 ]; then
    echo "wine-run: the Wine loader crashed (attempt $attempt), running again" >&2
  elif [ "$rc" -ne 0 ] && [ ! -s "$out" ]; then
    echo "wine-run: $(basename "$1") ended with status $rc before printing anything (attempt $attempt), running again" >&2
  else
    [ "$rc" -eq 0 ] || echo "wine-run: $(basename "$1") ended with status $rc" >&2
    exit "$rc"
  fi
done
exit "$rc"
