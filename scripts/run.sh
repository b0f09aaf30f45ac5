#!/usr/bin/env bash
# Builds everything and starts the child's browser under Wine from a program
# folder laid out as a release. On the user's display when DISPLAY is set;
# otherwise on a virtual display, where a screenshot of the display is saved
# once the main window shows. Ctrl+C ends the browser and everything it
# started. Arguments are passed to Brivan.exe (an address to open).
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/env.sh"
# The user's own Wine prefix, and so the user's own data folder: no test
# touches it, and it stays from one run to the next, so the first start on a
# new machine is a real first start and what the user set is there next time.
export HOLLIN_WINEPREFIX=${HOLLIN_USER_WINEPREFIX:-$HOLLIN_BUILD/user-wine}
export WINEPREFIX=$HOLLIN_WINEPREFIX
"$HOLLIN_ROOT/scripts/setup.sh"
"$HOLLIN_ROOT/scripts/build.sh" i686

# The release is what a parent installs: the i686 build, run by 32-bit Wine
# in the (64-bit) prefix. Only a kernel that runs no 32-bit program gets the
# x86_64 build instead.
bin="$HOLLIN_BUILD/i686/bin"
if ! hollin_runs_32bit; then
  echo "This kernel does not run 32-bit programs: starting the x86_64 build instead of the i686 release"
  "$HOLLIN_ROOT/scripts/build.sh" x86_64
  bin="$HOLLIN_BUILD/x86_64/bin"
fi
release="$HOLLIN_BUILD/release"
rm -rf "$release"
mkdir -p "$release"
for f in Brivan.exe Cobbel.dll Dashboard.dll Wizard.exe Pelvin.exe; do
  cp "$bin/$f" "$release/"
done
cp -r "$bin/theme" "$bin/conf" "$release/"
echo "Release folder: $release"

source "$HOLLIN_ROOT/scripts/harness.sh"
own_display=${DISPLAY:-}
browser_pid=
stop() {
  trap - EXIT INT TERM
  [ -n "$browser_pid" ] && kill "$browser_pid" 2>/dev/null || true
  # Ends every program of the user's prefix: the browser and whatever it
  # started (the wizard, the control panel's launcher, a second browser).
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -z "$own_display" ] && hollin_display_stop
  exit 0
}
trap stop EXIT INT TERM
if [ -n "$own_display" ]; then
  "$WINESERVER" -p
else
  hollin_display_start
fi

echo "Starting Brivan.exe on display $DISPLAY with the data folder in $WINEPREFIX (Ctrl+C ends it)"
(cd "$release" && exec "$HOLLIN_ROOT/scripts/wine-run" "$release/Brivan.exe" "$@") &
browser_pid=$!

# The main window: the largest mapped X window of brivan.exe.
main_window() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | awk 'tolower($0) ~ /"brivan.exe"/ { print $1 }'); do
    xwininfo -id "$id" 2>/dev/null | awk -v id="$id" '
      /Width:/ { w = $2 } /Height:/ { h = $2 } /Map State: IsViewable/ { v = 1 }
      END { if (v && w > 300 && h > 200) print w * h, id }'
  done | sort -n | tail -n 1 | awk '{ print $2 }'
}

if [ -z "$own_display" ]; then
  shot="$HOLLIN_BUILD/brivan-screenshot.png"
  window=
  for _ in $(seq 1 300); do
    window=$(main_window)
    [ -n "$window" ] && break
    kill -0 "$browser_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -n "$window" ]; then
    # Shown means mapped; the skin is painted right after, and the questions
    # of a first start (default browser, the wizard) come on top of it: the
    # whole display shows them.
    sleep 3
    import -display "$DISPLAY" -window root "$shot"
    echo "Screenshot of the display: $shot"
  else
    echo "The browser's main window did not show."
  fi
fi
wait "$browser_pid" || true
