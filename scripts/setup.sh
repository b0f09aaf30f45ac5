#!/usr/bin/env bash
# Idempotent set-up shared by the run and test commands: packages, third-party
# sources, and the project's own Wine prefix. Takes seconds when all is there.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/env.sh"

# fonts-wine holds Wine's Marlett, with which Wine draws the marks of caption
# buttons (without it the close box shows an "r"). The release is i686: its
# tests need 32-bit Wine (Debian's multiarch wine32) and the posix thread
# model's i686 compiler beside the release's win32 one.
packages=(cmake ninja-build g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32
          g++-mingw-w64-i686-posix wine64 wine32:i386 fonts-wine xvfb xauth
          fonts-wqy-microhei imagemagick dpkg-dev googletest python3 x11-apps x11-utils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# TinyXML is compiled from Debian's source package, which needs a deb-src
# entry. It is made from the machine's own Debian entries (same URIs, suites,
# components and keys as its binary ones), so it works behind any mirror.
apt_etc=${APT_ETC:-/etc/apt}
own_sources="$apt_etc/sources.list.d/hollin-deb-src.sources"

# The binary Debian entries of every enabled source file, deb822 and one-line
# alike, as deb822 deb-src stanzas. Debian's suites are the release's code
# name and its "-updates"/"-security" companions; other vendors' are skipped.
debian_src_stanzas() {
  local codename=$1
  local files=()
  [ -f "$apt_etc/sources.list" ] && files+=("$apt_etc/sources.list")
  for f in "$apt_etc"/sources.list.d/*.list "$apt_etc"/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$own_sources" ] && files+=("$f")
  done
  [ ${#files[@]} -gt 0 ] || return 0
  awk -v codename="$codename" '
    function debian_suites(list,   n, i, parts, kept) {
      n = split(list, parts, /[ \t]+/); kept = ""
      for (i = 1; i <= n; i++)
        if (parts[i] == codename || index(parts[i], codename "-") == 1) kept = kept (kept ? " " : "") parts[i]
      return kept
    }
    function emit(types, uris, suites, components, signed, enabled,   kept) {
      if (enabled ~ /^[ \t]*[Nn][Oo]/ || (" " types " ") !~ / deb /) return
      kept = debian_suites(suites)
      if (kept == "" || uris == "") return
      printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n", uris, kept, components
      if (signed != "") printf "Signed-By: %s\n", signed
      printf "\n"
    }
    function flush() { emit(t, u, su, c, sb, en); t = u = su = c = sb = en = "" }
    FNR == 1 { flush(); oneline = (FILENAME ~ /\.list$/) }
    oneline {
      sub(/#.*/, "")
      if ($1 != "deb") next
      line = $0; signed = ""
      if (match(line, /\[[^]]*\]/)) {
        options = substr(line, RSTART + 1, RLENGTH - 2)
        line = substr(line, 1, RSTART - 1) substr(line, RSTART + RLENGTH)
        if (match(options, /signed-by=[^ \t]+/)) signed = substr(options, RSTART + 10, RLENGTH - 10)
      }
      n = split(line, f, /[ \t]+/); components = ""
      for (i = 4; i <= n; i++) if (f[i] != "") components = components (components ? " " : "") f[i]
      emit("deb", f[2], f[3], components, signed, "")
      next
    }
    /^[ \t]*#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^[A-Za-z-]+:/ {
      key = tolower(substr($0, 1, index($0, ":") - 1)); value = substr($0, index($0, ":") + 1)
      gsub(/^[ \t]+|[ \t]+$/, "", value)
      if (key == "types") t = value; else if (key == "uris") u = value; else if (key == "suites") su = value
      else if (key == "components") c = value; else if (key == "signed-by") sb = value
      else if (key == "enabled") en = value
    }
    END { flush() }
  ' "${files[@]}"
}

ensure_deb_src() {
  local codename wanted
  codename=$(. "${OS_RELEASE:-/etc/os-release}" && echo "${VERSION_CODENAME:-}")
  wanted=$(debian_src_stanzas "$codename")
  if [ -z "$wanted" ]; then
    echo "setup: no Debian binary entry found in $apt_etc to take a deb-src entry from" >&2
    return 0
  fi
  [ -f "$own_sources" ] && [ "$(cat "$own_sources")" = "$wanted" ] && return 0
  printf '%s\n' "$wanted" > "$own_sources"
  apt_updated=0
}

apt_updated=1
# wine32 is an i386 package: the architecture is added once.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  apt_updated=0
fi
ensure_deb_src
if [ ${#missing[@]} -gt 0 ] || [ $apt_updated -eq 0 ] || [ ! -d "$THIRD_PARTY/tinyxml" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

# TinyXML source, fetched once into the untracked third-party folder.
if [ ! -f "$THIRD_PARTY/tinyxml/tinyxml.cpp" ]; then
  mkdir -p "$THIRD_PARTY/src"
  (cd "$THIRD_PARTY/src" && apt-get source -qq --download-only tinyxml >/dev/null 2>&1 || apt-get source -qq tinyxml)
  dsc=$(ls "$THIRD_PARTY"/src/tinyxml_*.dsc | head -1)
  rm -rf "$THIRD_PARTY/tinyxml"
  dpkg-source --no-check -x "$dsc" "$THIRD_PARTY/tinyxml" >/dev/null
fi

# The Wine prefix: created once, then only checked.
"$here/scripts/wine-prefix.sh"

# A kernel built without 32-bit support cannot run the i686 suite; said once,
# and the tests then run x86_64 alone.
hollin_runs_32bit || echo "setup: this kernel does not run 32-bit programs: the tests run x86_64 alone"
