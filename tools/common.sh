# Shared by the scripts in tools/: paths, logging, and the display/wineserver lifecycle.
# Source it; it defines functions and variables only.
VK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VK_BUILD=$VK_ROOT/build
export WINEPREFIX=$VK_BUILD/wineprefix
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

vk_log() { echo "[$(date +%H:%M:%S)] $*" >&2; }

# Start Xvfb on a free display number (unless VK_USE_DISPLAY is set and DISPLAY works) and a
# persistent wineserver; their output goes to /dev/null so no caller waits on an open pipe.
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
  wineserver -p >/dev/null 2>&1 </dev/null
  wine wineboot >/dev/null 2>&1 </dev/null
}

vk_stop_display() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ -n "${VK_XVFB_PID:-}" ]; then kill "$VK_XVFB_PID" 2>/dev/null || true; wait "$VK_XVFB_PID" 2>/dev/null || true; fi
  rm -f "$VK_BUILD/display"
}
