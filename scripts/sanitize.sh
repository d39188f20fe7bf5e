#!/usr/bin/env bash
# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
BUILD_TYPE=Debug scripts/build.sh build-asan -DGLIMRA_WERROR=ON -DGLIMRA_SANITIZE=ON -DGLIMRA_BENCH=OFF
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
