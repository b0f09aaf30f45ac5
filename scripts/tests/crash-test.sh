#!/usr/bin/env bash
# A crashing program run as the tests run theirs must end within seconds with a
# failure, not wait for a click on a crash dialog: crash-test.sh <run> <program>
set -uo pipefail
limit=60
start=$(date +%s)
timeout "$limit" "$1" "$2"
status=$?
elapsed=$(( $(date +%s) - start ))
echo "exit status $status after $elapsed s"
[ $status -ne 124 ] || { echo "the crashing program was still there after $limit s"; exit 1; }
[ $status -ne 0 ] || { echo "the crashing program ended as if it had succeeded"; exit 1; }
[ $elapsed -le 20 ] || { echo "the crash took $elapsed s to end the program"; exit 1; }
