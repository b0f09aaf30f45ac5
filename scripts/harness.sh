# Test and run harness: a virtual display and a warm Wine server. Sourced.
# hollin_display_start / hollin_display_stop bracket everything that needs X.

# The first display from :90 on that no X server holds, other than $1 (one
# chosen already for a suite beside).
hollin_free_display() {
  local n=90
  while [ ":$n" = "${1:-}" ] || [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo ":$n"
}

hollin_display_start() {
  [ -n "${HOLLIN_DISPLAY:-}" ] || HOLLIN_DISPLAY=$(hollin_free_display)
  Xvfb "$HOLLIN_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  HOLLIN_XVFB_PID=$!
  export DISPLAY=$HOLLIN_DISPLAY
  local i
  for i in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X${HOLLIN_DISPLAY#:}" ] && break
    sleep 0.1
  done
  # Tests started without the set-up (a single ctest run, a planted fault)
  # would otherwise run in a prefix Wine made by itself, without the settings
  # the tests rely on; a prefix that has them costs one file read here.
  "$HOLLIN_ROOT/scripts/wine-prefix.sh"
  # A persistent server plus one warm-up program makes each later start cheap.
  # A server this prefix already has (a run by hand beside) serves as well;
  # asked again, wineserver ends with an error that would end the caller.
  "$WINESERVER" -p 2>/dev/null || true
  "$HOLLIN_ROOT/scripts/wine-run" cmd /c exit >/dev/null 2>&1 || true
}

hollin_display_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${HOLLIN_XVFB_PID:-}" ] && kill "$HOLLIN_XVFB_PID" 2>/dev/null || true
  wait "${HOLLIN_XVFB_PID:-}" 2>/dev/null || true
}
