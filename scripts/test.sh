#!/usr/bin/env bash
# The whole suite: set-up, both architectures built, the x86_64 tests run
# under Wine by ctest. Exits non-zero when anything fails.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/env.sh"
"$HOLLIN_ROOT/scripts/setup.sh"
"$HOLLIN_ROOT/scripts/build.sh" i686
"$HOLLIN_ROOT/scripts/build.sh" x86_64

source "$HOLLIN_ROOT/scripts/harness.sh"
trap hollin_display_stop EXIT
hollin_display_start
cd "$HOLLIN_BUILD/x86_64"
ctest --output-on-failure -j "${HOLLIN_JOBS:-$(nproc)}" --timeout 300 "$@"
