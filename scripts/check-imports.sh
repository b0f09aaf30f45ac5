#!/usr/bin/env bash
# The release must load on Windows 2000 and later: lists the imports of every
# program and library in a folder (the i686 release build's by default, which
# holds only the deliverables) and fails when one imports anything Windows XP
# lacks (imports-since-vista.txt) or Windows 2000 lacks (imports-since-2000.txt).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/env.sh"
folder=${1:-$HOLLIN_BUILD/i686/bin}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

# "DLL function" for every import of one file, the DLL name lower-cased.
list_imports() {
  "$objdump" -p "$1" | awk '
    /^The Import Tables/ { inside = 1; next }
    /^The (Function|Export|Delay)/ { inside = 0 }
    !inside { next }
    /DLL Name:/ { dll = tolower($3); next }
    /^\t[0-9a-f]+\t? *[0-9]+ +[^ ]/ { print dll, $3 }'
}

# Prints the imports of one file that an entry of the list names.
matches() {
  local list=$1 imports=$2 entry dll function
  while read -r dll function; do
    while read -r entry; do
      case $entry in ''|'#'*) continue ;; esac
      if [[ $entry == *.dll ]]; then
        [[ $dll == $entry ]] && { echo "$function ($dll)"; break; }
      elif [[ $function == "$entry" ]]; then
        echo "$function ($dll)"; break
      fi
    done < "$list"
  done <<< "$imports"
}

shopt -s nullglob nocaseglob
files=("$folder"/*.exe "$folder"/*.dll)
if [ ${#files[@]} -eq 0 ]; then
  echo "import check: no program or library in $folder" >&2
  exit 1
fi

failed=0
for file in "${files[@]}"; do
  name=$(basename "$file")
  imports=$(list_imports "$file")
  if [ -z "$imports" ]; then
    echo "import check: $name: no import table read" >&2
    failed=1
    continue
  fi
  after_xp=$(matches "$here/imports-since-vista.txt" "$imports")
  after_2000=$(matches "$here/imports-since-2000.txt" "$imports")
  count=$(wc -l <<< "$imports")
  if [ -n "$after_xp" ]; then
    echo "import check: $name imports what Windows XP lacks:" >&2
    sed 's/^/  /' <<< "$after_xp" >&2
    failed=1
  fi
  if [ -n "$after_2000" ]; then
    echo "import check: $name imports what Windows 2000 lacks:" >&2
    sed 's/^/  /' <<< "$after_2000" >&2
    failed=1
  fi
  if [ -z "$after_xp$after_2000" ]; then
    echo "import check: $name: $count imports, all on Windows 2000"
  fi
done
exit $failed
