#!/usr/bin/env bash
# Runs the import check on a folder holding only the Vista probe, then on one
# holding only the XP probe: each run must fail and name each of its probe's
# imports that the older system lacks.
set -uo pipefail
# refuses <folder> <what it lacks> <import>...
refuses() {
  local folder=$1 system=$2 output status name
  shift 2
  output=$(bash "$(dirname "$0")/../check-imports.sh" "$folder" 2>&1)
  status=$?
  echo "$output"
  [ $status -ne 0 ] || { echo "the check passed a program $system cannot load"; exit 1; }
  grep -q "imports what $system lacks" <<< "$output" || { echo "the check did not say $system lacks them"; exit 1; }
  for name in "$@"; do
    grep -q "^  $name (" <<< "$output" || { echo "the check did not name $name"; exit 1; }
  done
}
refuses "$1" "Windows XP" GetTickCount64 InitializeSRWLock RegGetValueW
refuses "$2" "Windows 2000" GetNativeSystemInfo GdiplusStartup
