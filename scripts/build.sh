#!/usr/bin/env bash
# Configures and builds one build folder. Usage: build.sh DIR [cmake options...]
# TARGETS (space-separated) builds only those targets instead of everything.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
# Build folders share one compiler cache when ccache is installed; the cache
# ignores which folder an object is built in, so a second folder is cheap.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_NOHASHDIR=true CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "$@"
targets=()
for t in ${TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
