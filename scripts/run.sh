#!/usr/bin/env bash
# Builds everything and starts the child's browser under Wine on a virtual
# display (or on $DISPLAY when one is given with HOLLIN_DISPLAY).
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/env.sh"
"$HOLLIN_ROOT/scripts/setup.sh"
"$HOLLIN_ROOT/scripts/build.sh" i686
"$HOLLIN_ROOT/scripts/build.sh" x86_64

bin="$HOLLIN_BUILD/x86_64/bin"
echo "Built in $bin:"
missing=()
for p in Brivan.exe Dashboard.dll Wizard.exe Pelvin.exe Cobbel.dll; do
  if [ -f "$bin/$p" ]; then echo "  $p"; else missing+=("$p"); fi
done
[ ${#missing[@]} -eq 0 ] || echo "Not built yet: ${missing[*]}"
if [ ! -f "$bin/Brivan.exe" ]; then
  echo "The browser (Brivan.exe) is not built yet, so there is nothing to start."
  exit 0
fi
source "$HOLLIN_ROOT/scripts/harness.sh"
trap hollin_display_stop EXIT
hollin_display_start
echo "Starting Brivan.exe on display $DISPLAY (Ctrl+C ends it)"
"$HOLLIN_ROOT/scripts/wine-run" "$bin/Brivan.exe" "$@"
