#!/usr/bin/env bash
# Runs a command with what the Windows tests need: a display (Xvfb when none
# is set) and one wineserver kept alive for the whole run, so each Wine
# process does not start its own. The server ends by itself a few seconds
# after the last Wine process (other runs may share it meanwhile).
# XVFB_SCREEN sets the virtual screen's size (default 1280x1024x24).
set -euo pipefail

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  for number in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$number"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
    break
  done
fi

wineboot -i >/dev/null 2>&1 </dev/null || true
wineserver -p5 >/dev/null 2>&1 </dev/null || true
"$@"
