# Shared by the scripts in tools/ and bench/: paths, logging, the two Windows architectures
# (their build trees, Wine loaders and prefixes), and the display/wineserver lifecycle.
# Source it; it defines functions and variables only.
#
# The program is built twice: win32 (i686, build/win32) and win64 (x86_64, build/win64). Each
# architecture runs under its own Wine loader with its own prefix (build/wineprefix-<arch>).
# Some kernels run no 32-bit code at all; vk_arch_runs tells, by starting the loader itself.
VK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VK_BUILD=$VK_ROOT/build
VK_ARCHES=(win32 win64)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

vk_log() { echo "[$(date +%H:%M:%S)] $*" >&2; }

vk_loader_of() { case "$1" in win32) echo /usr/lib/wine/wine ;; *) echo /usr/lib/wine/wine64 ;; esac; }

# vk_arch_env ARCH: makes ARCH's Wine the one that `vk_wine`/`vk_wineserver` and child
# programs use (exports WINEPREFIX, WINEARCH, WINELOADER, WINESERVER, VK_ARCH).
vk_arch_env() {
  export VK_ARCH=$1
  export WINEPREFIX=$VK_BUILD/wineprefix-$1
  export WINEARCH=$1
  export WINELOADER
  WINELOADER=$(vk_loader_of "$1")
  case "$1" in
    win32) export WINESERVER=/usr/lib/wine/wineserver32 ;;
    *) export WINESERVER=/usr/lib/wine/wineserver64 ;;
  esac
}

vk_wine() { "$WINELOADER" "$@"; }
vk_wineserver() { "$WINESERVER" "$@"; }

# vk_arch_runs ARCH: true when this machine can run ARCH's programs. The answer comes from
# starting the loader once per script run (a kernel without IA-32 emulation refuses the 32-bit
# one with "Exec format error"). VK_NO_WIN32=1 makes the 32-bit answer "no", as on such a
# machine.
declare -A VK_ARCH_PROBE=()
vk_arch_runs() {
  if [ -z "${VK_ARCH_PROBE[$1]:-}" ]; then
    if [ "$1" = win32 ] && [ "${VK_NO_WIN32:-0}" = 1 ]; then
      VK_ARCH_PROBE[$1]=no
    elif "$(vk_loader_of "$1")" --version >/dev/null 2>&1 </dev/null; then
      VK_ARCH_PROBE[$1]=yes
    else
      VK_ARCH_PROBE[$1]=no
    fi
  fi
  [ "${VK_ARCH_PROBE[$1]}" = yes ]
}

# vk_runnable_arches: the architectures whose programs run here, 32-bit first.
vk_runnable_arches() {
  local a
  for a in "${VK_ARCHES[@]}"; do vk_arch_runs "$a" && echo "$a"; done
  return 0
}

# vk_use_run_arch WHAT: picks the architecture a script runs WHAT of (VK_ARCH, else the first
# that runs here), makes it current and says so; fails when the machine cannot run it.
vk_use_run_arch() {
  local arch=${VK_ARCH:-$(vk_runnable_arches | head -n 1)}
  if [ -z "$arch" ] || ! vk_arch_runs "$arch"; then
    vk_log "this machine cannot run the ${arch:-Windows} $1"
    return 1
  fi
  vk_arch_env "$arch"
  vk_log "the $arch $1 ($VK_BUILD/$arch)"
}

# vk_pe_arch FILE: win32 or win64 from a Windows program's header (machine field of the PE
# header); empty when FILE is not a Windows program.
vk_pe_arch() {
  local off machine
  off=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$off" ] || return 0
  machine=$(od -An -tx2 -j$((off + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo win32 ;;
    8664) echo win64 ;;
  esac
}

# Start Xvfb on a free display number (unless VK_USE_DISPLAY is set and DISPLAY works); its
# output goes to /dev/null so no caller waits on an open pipe.
vk_start_display() {
  if [ -n "${VK_USE_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then
    echo "${DISPLAY#:}" > "$VK_BUILD/display"
  else
    # Several builds may start displays at once: take the first number whose server comes up.
    local n=99
    while :; do
      while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
      Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      VK_XVFB_PID=$!
      for _ in $(seq 50); do
        [ -e /tmp/.X11-unix/X$n ] && break
        kill -0 "$VK_XVFB_PID" 2>/dev/null || break
        sleep 0.1
      done
      if kill -0 "$VK_XVFB_PID" 2>/dev/null && [ -e /tmp/.X11-unix/X$n ]; then break; fi
      n=$((n + 1))
    done
    export DISPLAY=:$n
    echo "$n" > "$VK_BUILD/display"
  fi
}

# A persistent wineserver for the current architecture (vk_arch_env), with its output detached
# so Wine's service processes inherit no pipe of the caller.
VK_STARTED_SERVERS=()
vk_start_wineserver() {
  vk_wineserver -p >/dev/null 2>&1 </dev/null
  vk_wine wineboot >/dev/null 2>&1 </dev/null
  VK_STARTED_SERVERS+=("$VK_ARCH")
}

vk_stop_display() {
  local a
  for a in "${VK_STARTED_SERVERS[@]}"; do
    ( vk_arch_env "$a"; vk_wineserver -k >/dev/null 2>&1; vk_wineserver -w >/dev/null 2>&1 ) || true
  done
  VK_STARTED_SERVERS=()
  if [ -n "${VK_XVFB_PID:-}" ]; then kill "$VK_XVFB_PID" 2>/dev/null || true; wait "$VK_XVFB_PID" 2>/dev/null || true; fi
  rm -f "$VK_BUILD/display"
}

# vk_configure_build PRESET: configure (once) and build one architecture.
vk_configure_build() {
  if [ ! -f "$VK_BUILD/$1/build.ninja" ]; then
    cmake --preset "$1" >/dev/null
  fi
  cmake --build --preset "$1" "${@:2}"
}
