#!/usr/bin/env bash
# The README's main command: build, then run the recorder under Wine. With $DISPLAY set it
# opens on that display until you close it; without one it runs on a private Xvfb, saves a
# screenshot to build/screenshot.png and closes the program again.
# When the instrument simulator is built, it plays the instrument on COM1 (the recorder's side is
# COM2) so that pressing "start" shows readings.
# The 32-bit program runs where this machine runs 32-bit code, else the 64-bit one; VK_ARCH
# (win32 or win64) chooses.
set -euo pipefail
. "$(dirname "$0")/common.sh"
"$VK_ROOT/tools/bootstrap.sh"
cd "$VK_ROOT"
vk_use_run_arch program || exit 1
arch=$VK_ARCH
vk_configure_build "$arch" >/dev/null

bin=$VK_BUILD/$arch/bin
interactive=0
if [ -n "${DISPLAY:-}" ]; then interactive=1; export VK_USE_DISPLAY=1; fi
trap 'vk_stop_ports; vk_stop_display' EXIT
vk_start_display
vk_start_wineserver

sim_pid=
vk_stop_ports() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "${VK_SOCAT_PID:-}" ] && kill "$VK_SOCAT_PID" 2>/dev/null || true
  rm -f "$WINEPREFIX/dosdevices/com1" "$WINEPREFIX/dosdevices/com2"
}
if [ -f "$bin/instrument_sim.exe" ]; then
  socat -d pty,raw,echo=0,link="$VK_BUILD/tty-sim" pty,raw,echo=0,link="$VK_BUILD/tty-app" >/dev/null 2>&1 &
  VK_SOCAT_PID=$!
  for _ in $(seq 50); do [ -e "$VK_BUILD/tty-app" ] && break; sleep 0.1; done
  ln -sfn "$(readlink -f "$VK_BUILD/tty-sim")" "$WINEPREFIX/dosdevices/com1"
  ln -sfn "$(readlink -f "$VK_BUILD/tty-app")" "$WINEPREFIX/dosdevices/com2"
  # Two modules whose readings wander a little, so each poll shows new values.
  vk_wine "$bin/instrument_sim.exe" COM1 --modules 2 --types KJ --readings noise:25:2 \
    --channel-step 0.5 >/dev/null 2>&1 </dev/null &
  sim_pid=$!
  vk_log "instrument simulator on COM1; choose COM2 (or automatic selection) in the recorder"
fi

# The program runs from a folder of its own so its database, settings and logs stay together.
run_dir=$VK_BUILD/run-$arch
mkdir -p "$run_dir"
cp -u "$bin"/Vornakit_more.exe "$bin"/*.dll "$bin"/FINDCOMP.AVI "$run_dir"/
# The recorder's side of the simulator's port, unless a port was chosen before.
if [ -n "$sim_pid" ] && [ ! -s "$run_dir/com.set" ]; then printf 'COM2\r\n' > "$run_dir/com.set"; fi
if [ "$interactive" = 1 ]; then
  vk_wine "$run_dir/Vornakit_more.exe" "$@"
else
  vk_wine "$run_dir/Vornakit_more.exe" "$@" >/dev/null 2>&1 </dev/null &
  app_pid=$!
  vk_wine "$bin/vk_driver.exe" wait "Multi-channel temperature inspection" 60
  if [ -n "$sim_pid" ]; then
    # Start a test as a person would, so the screenshot shows readings.
    vk_wine "$bin/vk_driver.exe" click "Multi-channel temperature inspection" start 30 &&
      vk_wine "$bin/vk_driver.exe" enabled "Multi-channel temperature inspection" stop 60 || true
    sleep 3
  fi
  sleep 1
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$VK_BUILD/screenshot.png"
  vk_log "screenshot saved to $VK_BUILD/screenshot.png"
  # Closing asks "Are you sure to quit the software?": answer OK.
  vk_wine "$bin/vk_driver.exe" post-close "Multi-channel temperature inspection" 30
  vk_wine "$bin/vk_driver.exe" click prompt OK 30 || true
  vk_wine "$bin/vk_driver.exe" gone "Multi-channel temperature inspection" 30
  wait "$app_pid"
  vk_log "the recorder ended with exit code $?"
fi
