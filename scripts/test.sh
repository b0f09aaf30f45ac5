#!/usr/bin/env bash
# The whole suite: set-up, both architectures built, the release's imports
# checked, the x86_64 tests run under Wine by ctest. Exits non-zero when
# anything fails.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/env.sh"
"$HOLLIN_ROOT/scripts/setup.sh"
"$HOLLIN_ROOT/scripts/build.sh" i686
# The release loads on Windows XP: no deliverable imports what XP lacks.
"$HOLLIN_ROOT/scripts/check-imports.sh" "$HOLLIN_BUILD/i686/bin"
"$HOLLIN_ROOT/scripts/build.sh" x86_64

source "$HOLLIN_ROOT/scripts/harness.sh"
trap hollin_display_stop EXIT
hollin_display_start
cd "$HOLLIN_BUILD/x86_64"
# Under load Wine now and then fails to start a process at all (the case ends
# in about 10 ms with no output); one more try tells that apart from a real
# failure, which fails again.
status=0
ctest --output-on-failure -j "${HOLLIN_JOBS:-$(nproc)}" --timeout 300 --repeat until-pass:2 "$@" || status=$?

# The retry also hides a test that fails now and then: every test that failed
# and then passed is named, from ctest's log of this run (each run of a test
# is a "N/M Test: name" block whose output lies between "Output:" and
# "<end of output>", ending in "Test Passed." or "Test Failed."). A first run
# that printed nothing is marked: most likely Wine did not start the program.
retried=$(awk '
  /^[0-9]+\/[0-9]+ Test: / { name = substr($0, index($0, " Test: ") + 7); state = ""; next }
  name != "" && /^Output:$/ { state = "rule"; next }
  state == "rule" { state = "output"; printed = 0; next }
  state == "output" && /<end of output>$/ { if ($0 != "<end of output>") printed = 1; state = ""; next }
  state == "output" { if ($0 != "") printed = 1; next }
  name != "" && /^Test Failed\.$/ { if (!(name in failed)) silent[name] = !printed; failed[name] = 1; name = ""; next }
  name != "" && /^Test Passed\.$/ {
    if (name in failed) print "  " name (silent[name] ? "  (its first run printed nothing: most likely Wine did not start it)" : "")
    name = ""; next
  }
' Testing/Temporary/LastTest.log 2>/dev/null || true)
echo
if [ -n "$retried" ]; then
  echo "Passed only on the second run ($(wc -l <<< "$retried")); each fails now and then:"
  echo "$retried"
else
  echo "Passed only on the second run: none"
fi
exit $status
