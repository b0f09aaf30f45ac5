#!/usr/bin/env bash
# Creates the project's Wine prefix once; later calls only check it.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/env.sh"
stamp="$WINEPREFIX/.hollin-ready"
[ -f "$stamp" ] && exit 0
echo "setup: creating the Wine prefix in $WINEPREFIX"
mkdir -p "$WINEPREFIX"
env LC_ALL="$HOLLIN_LOCALE" "$WINE64" wineboot --init >/dev/null 2>&1 || true
"$WINESERVER" -w || true
# Without a window manager, hiding a managed window costs about two seconds.
env LC_ALL="$HOLLIN_LOCALE" "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
env LC_ALL="$HOLLIN_LOCALE" "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y /f >/dev/null 2>&1
"$WINESERVER" -w || true
touch "$stamp"
