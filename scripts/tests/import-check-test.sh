#!/usr/bin/env bash
# Runs the import check on a folder holding only the probe: it must fail and
# name each of the probe's Vista imports.
set -uo pipefail
output=$(bash "$(dirname "$0")/../check-imports.sh" "$1" 2>&1)
status=$?
echo "$output"
[ $status -ne 0 ] || { echo "the check passed a program XP cannot load"; exit 1; }
for name in GetTickCount64 InitializeSRWLock RegGetValueW; do
  grep -q "^  $name (" <<< "$output" || { echo "the check did not name $name"; exit 1; }
done
