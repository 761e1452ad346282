#!/bin/sh
# Test helper (Linux side): makes a socat pseudo-terminal pair and maps its two ends as COM
# ports of the Wine prefix, so a test exe running under Wine can talk to the instrument
# simulator through a real serial device.
#
#   ptypair.sh DOSDEVICES FIRST REPORT LEASE
#
# DOSDEVICES is "$WINEPREFIX/dosdevices"; FIRST the first COM number to try. The helper takes the
# first free pair n, n+1 from FIRST up (a link is claimed with a plain `ln -s`, which fails when
# another test holds it, so parallel tests never share a port) and writes "n n+1" to REPORT.
# It then lives while the LEASE file exists and is fresh: the test touches it every few hundred
# milliseconds and deletes it at tear-down; a lease older than 5 seconds means the test died.
# (Wine starts Linux programs with /dev/null as input, so a pipe cannot carry this.) Then socat
# is stopped and both links are removed.
set -u
dd=$1
n=$2
report=$3
lease=$4
tmp=$(mktemp -d)
a=
b=
sp=
cleanup() {
  [ -n "$sp" ] && kill "$sp" 2>/dev/null && wait "$sp" 2>/dev/null
  [ -n "$a" ] && rm -f "$dd/com$a" "$dd/com$b"
  rm -rf "$tmp"
  rm -f "$lease"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

socat pty,raw,echo=0,link="$tmp/a" pty,raw,echo=0,link="$tmp/b" </dev/null >/dev/null 2>&1 &
sp=$!
i=0
while [ ! -e "$tmp/a" ] || [ ! -e "$tmp/b" ]; do
  i=$((i + 1))
  [ $i -gt 200 ] && exit 1
  sleep 0.02
done
pa=$(readlink -f "$tmp/a")
pb=$(readlink -f "$tmp/b")

tries=0
while :; do
  if ln -s "$pa" "$dd/com$n" 2>/dev/null; then
    if ln -s "$pb" "$dd/com$((n + 1))" 2>/dev/null; then
      a=$n
      b=$((n + 1))
      break
    fi
    rm -f "$dd/com$n"
  fi
  n=$((n + 2))
  [ $n -gt 998 ] && n=100
  tries=$((tries + 1))
  [ $tries -gt 500 ] && exit 1
done
echo "$a $b" > "$report.tmp" && mv "$report.tmp" "$report"
while [ -e "$lease" ]; do
  age=$(( $(date +%s) - $(stat -c %Y "$lease" 2>/dev/null || echo 0) ))
  [ "$age" -gt 5 ] && break
  sleep 0.1
done
