#!/usr/bin/env bash
# Prepares a Debian 12 machine and the build tree: packages (both MinGW toolchains and both
# Wines; the 32-bit Wine installs even where the kernel cannot run it), the SQLite amalgamation
# from Debian's source package, and one Wine prefix with its font replacements per architecture
# that runs here. Idempotent: when everything is present it only checks, in a second or two.
set -euo pipefail
. "$(dirname "$0")/common.sh"
mkdir -p "$VK_BUILD"

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  binutils-mingw-w64-x86-64
  cmake ninja-build make gcc dpkg-dev tcl
  wine wine32:i386 wine64 xvfb xauth x11-apps netpbm socat
  fonts-liberation fonts-dejavu-core fonts-wqy-microhei
  sqlite3 python3 python3-xlrd python3-fonttools googletest
  ccache
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=$(missing_packages)
if [ -n "$missing" ]; then
  vk_log "installing: $(echo $missing)"
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  as_root apt-get update -qq >/dev/null
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

# --- SQLite amalgamation from Debian's source package -------------------------------------
sqlite_dir=$VK_BUILD/deps/sqlite
if [ ! -f "$sqlite_dir/sqlite3.c" ]; then
  src_list=/etc/apt/sources.list.d/vk-deb-src.sources
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    vk_log "adding a deb-src entry ($src_list)"
    as_root tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    as_root apt-get update -qq >/dev/null
  fi
  work=$VK_BUILD/deps/sqlite-src
  rm -rf "$work"; mkdir -p "$work"
  vk_log "fetching Debian's sqlite3 source"
  (cd "$work" && apt-get source -q sqlite3 >/dev/null 2>&1)
  top=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
  vk_log "making the amalgamation in $top"
  (cd "$top" && ./configure >/dev/null && make sqlite3.c >/dev/null)
  mkdir -p "$sqlite_dir"
  cp "$top/sqlite3.c" "$top/sqlite3.h" "$top/sqlite3ext.h" "$sqlite_dir/"
  rm -rf "$work"
fi

# --- Wine prefixes, one per architecture that runs here -----------------------------------
# Bump when the prefix's settings below change, so existing build trees make a new one.
prefix_stamp=4
make_prefix() {
  vk_arch_env "$1"
  [ "$(cat "$WINEPREFIX/.vk-ready" 2>/dev/null)" = "$prefix_stamp" ] && return 0
  vk_log "creating the $1 Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  vk_wine wineboot -i >/dev/null 2>&1 </dev/null
  # Metric-compatible free fonts stand in for the fonts the windows name.
  local key='HKCU\Software\Wine\Fonts\Replacements' pair
  for pair in "Arial=Liberation Sans" "Times New Roman=Liberation Serif" \
              "Courier New=Liberation Mono" "MS Sans Serif=Liberation Sans" \
              "Verdana=DejaVu Sans" "Tahoma=DejaVu Sans" "Microsoft Sans Serif=Liberation Sans" \
              "SimSun=WenQuanYi Micro Hei" "宋体=WenQuanYi Micro Hei"; do
    vk_wine reg add "$key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1 </dev/null
  done
  # The free fonts lack characters the program shows: link every face the windows use to
  # DejaVu Sans (which has "℃"; the CJK font maps it to an empty glyph) and then to the CJK
  # font for the Chinese texts, so a character a face lacks is drawn from them instead of
  # being left out.
  local link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  local dejavu='DejaVuSans.ttf,DejaVu Sans' cjk='wqy-microhei.ttc,WenQuanYi Micro Hei' face
  for face in "Liberation Sans" "Liberation Serif" "Liberation Mono" \
              "Arial" "Times New Roman" "Courier New" "MS Sans Serif" "Verdana" "Tahoma" \
              "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI"; do
    vk_wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d "$dejavu\0$cjk" /f >/dev/null 2>&1 </dev/null
  done
  vk_wine reg add "$link" /v "DejaVu Sans" /t REG_MULTI_SZ /d "$cjk" /f >/dev/null 2>&1 </dev/null
  # Without a window manager (Xvfb) Wine draws window frames and captions itself.
  vk_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
  vk_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
  vk_wineserver -w
  echo "$prefix_stamp" > "$WINEPREFIX/.vk-ready"
}
for arch in "${VK_ARCHES[@]}"; do
  if vk_arch_runs "$arch"; then
    (make_prefix "$arch")
  else
    vk_log "this machine runs no $arch programs: no $arch Wine prefix"
  fi
done
# The prefix of older build trees (one architecture only) is no longer used.
rm -rf "$VK_BUILD/wineprefix"
