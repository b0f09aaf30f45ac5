#!/usr/bin/env bash
# Configures and builds one architecture: build.sh x86_64|i686
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
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$HOLLIN_ROOT" -B "$dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DTHIRD_PARTY_DIR="$THIRD_PARTY" "$@" >/dev/null
fi
# HOLLIN_BUILD_JOBS caps the compilers when several trees build at once.
cmake --build "$dir" -j "${HOLLIN_BUILD_JOBS:-$(nproc)}" -- -k 0
