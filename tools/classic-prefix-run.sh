#!/usr/bin/env bash
# Runs a Windows test program in a copy of its architecture's Wine prefix with the visual styles
# switched off, so that the classic (unthemed) branches run against the real platform while
# the ordinary prefix keeps Wine's default theme. The copy shares the prefix's files by hard
# links except the registry files, and has its own wineserver, stopped again at the end.
# Arguments: the program and its arguments.
set -euo pipefail
. "$(dirname "$0")/common.sh"
arch=$(vk_pe_arch "$1")
vk_arch_env "${arch:-win32}"
main=$WINEPREFIX
classic=$VK_BUILD/wineprefix-classic-$$
cleanup() {
  WINEPREFIX=$classic vk_wineserver -k >/dev/null 2>&1 || true
  rm -rf "$classic"
}
trap cleanup EXIT
rm -rf "$classic"
# Tests running beside this one create and remove fixture folders in the prefix while it is
# copied: a file gone before it could be linked is no loss.
cp -al "$main" "$classic" 2>/dev/null || true
[ -d "$classic/drive_c/windows" ] || { echo "classic-prefix-run: could not copy $main" >&2; exit 1; }
for f in "$main"/*.reg; do cp --remove-destination "$f" "$classic/$(basename "$f")"; done
sed -i 's/^"ThemeActive"="1"/"ThemeActive"="0"/' "$classic/user.reg"
# Wine does not hand variables named VK_* on to Windows programs: this one must not be one.
EXPECT_CLASSIC_PREFIX=1 WINEPREFIX=$classic "$VK_ROOT/tools/wine-run.sh" "$@"
