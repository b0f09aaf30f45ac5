#!/usr/bin/env bash
# Idempotent set-up shared by the run and test commands: packages, third-party
# sources, and the project's own Wine prefix. Takes seconds when all is there.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/env.sh"

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32
          wine64 xvfb xauth fonts-wqy-microhei imagemagick dpkg-dev
          googletest python3 x11-apps)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# TinyXML is compiled from Debian's source package, which needs a deb-src entry.
ensure_deb_src() {
  local list=/etc/apt/sources.list.d/hollin-deb-src.sources
  [ -f "$list" ] && return 0
  local suite
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  cat > "$list" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt_updated=0
}

apt_updated=1
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
