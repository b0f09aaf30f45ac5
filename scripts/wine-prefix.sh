#!/usr/bin/env bash
# Creates a Wine prefix of the project ($WINEPREFIX: the tests' or the run
# command's) once, and brings one made by an older set-up up to date. The
# stamp holds the level of the settings below; a prefix at the current level
# is only checked.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/env.sh"
# Raise it with every change to the settings, so that older prefixes get them.
level=3
stamp="$WINEPREFIX/.hollin-ready"
[ "$(cat "$stamp" 2>/dev/null || true)" = "$level" ] && exit 0

wine() { env LC_ALL="$HOLLIN_LOCALE" "$WINE64" "$@"; }
set_value() { wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1; }

created=0
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "setup: creating the Wine prefix in $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wine wineboot --init >/dev/null 2>&1 || true
  "$WINESERVER" -w || true
  created=1
else
  echo "setup: bringing the Wine prefix in $WINEPREFIX up to date"
fi
# Without a window manager, hiding a managed window costs about two seconds.
set_value 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N
set_value 'HKCU\Software\Wine\X11 Driver' Decorated REG_SZ Y
# A crash ends the program at once, with Wine's backtrace on its error output,
# instead of waiting for a click on the debugger's dialog.
set_value 'HKCU\Software\Wine\WineDbg' ShowCrashDialog REG_DWORD 0
# Wine draws the marks of caption buttons, scroll arrows and check boxes with
# its Marlett font (Debian's fonts-wine, installed by the set-up), and this
# Wine reads no font folder of its own but the prefix's.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# A server of our own ends when idle and saves the registry then. A server
# kept running (an open test display) holds the values and saves them when it
# ends: waiting for it would never end.
[ $created -eq 1 ] && { "$WINESERVER" -w || true; }
echo "$level" > "$stamp"
