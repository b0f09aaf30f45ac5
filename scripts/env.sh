# Environment shared by the set-up, the run command and the test harness.
# Sourced, not run. Every path can be overridden so that several builds of one
# tree (each with its own prefix and display) can run side by side.
HOLLIN_ROOT=${HOLLIN_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export HOLLIN_ROOT
export THIRD_PARTY=${THIRD_PARTY:-$HOLLIN_ROOT/third_party}
export HOLLIN_BUILD=${HOLLIN_BUILD:-$HOLLIN_ROOT/build}
export WINEPREFIX=${HOLLIN_WINEPREFIX:-$HOLLIN_BUILD/wine}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes its ANSI code page (936 here) from LC_ALL; set only for Wine itself.
export HOLLIN_LOCALE=zh_CN.UTF-8
export no_proxy=127.0.0.1,localhost
export NO_PROXY=127.0.0.1,localhost
# The audio APIs need a device; ALSA's null device gives them one.
export ALSA_CONFIG_PATH=$HOLLIN_ROOT/scripts/asound.conf
export WINE64=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
# Debian's 32-bit Wine loader (wine32:i386) is an i386 program: it starts only
# where the kernel runs 32-bit programs, which is what the i686 suite needs.
hollin_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
