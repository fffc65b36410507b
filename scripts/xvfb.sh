# shellcheck shell=bash
# Sourced by the scripts that run Wine: a private Xvfb when there is no display.
# start_xvfb SCREEN (such as 1280x1024x24): with no DISPLAY, starts Xvfb on a display number
# nobody holds (Xvfb reports it through -displayfd once it is ready) and exports DISPLAY.
# stop_xvfb ends it; stop_wine_and_xvfb first ends the prefix's wine server (for an EXIT trap).
XVFB_PID=""

start_xvfb() {
  [ -n "${DISPLAY:-}" ] && return 0
  local ready
  ready=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$ready" ] && break; sleep 0.1; done
  if [ ! -s "$ready" ]; then
    echo "Xvfb did not start" >&2
    rm -f "$ready"
    return 1
  fi
  DISPLAY=":$(head -n1 "$ready")"
  export DISPLAY
  rm -f "$ready"
}

stop_xvfb() {
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; fi
  XVFB_PID=""
}

stop_wine_and_xvfb() {
  wineserver -k >/dev/null 2>&1
  stop_xvfb
}
