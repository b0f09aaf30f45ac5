#!/usr/bin/env bash
# Configures and builds one tree: build.sh x86_64|i686|i686-tests. i686 is
# the release (win32 thread model, deliverables only); i686-tests holds the
# tests of the release's architecture, which start the release's programs.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/env.sh"
arch=$1; shift || true
dir="$HOLLIN_BUILD/$arch"
toolchain="$HOLLIN_ROOT/cmake/toolchain-$arch.cmake"
# A changed toolchain (compiler, thread model) starts the tree afresh, so no
# program of the old one is left in bin.
if [ -f "$dir/CMakeCache.txt" ] && [ "$toolchain" -nt "$dir/CMakeCache.txt" ]; then
  rm -rf "$dir"
fi
release=()
[ "$arch" = i686-tests ] && release=(-DHOLLIN_RELEASE_BIN="$HOLLIN_BUILD/i686/bin")
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$HOLLIN_ROOT" -B "$dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DTHIRD_PARTY_DIR="$THIRD_PARTY" "${release[@]}" "$@" >/dev/null
fi
# HOLLIN_BUILD_JOBS caps the compilers when several trees build at once.
cmake --build "$dir" -j "${HOLLIN_BUILD_JOBS:-$(nproc)}" -- -k 0
