#!/usr/bin/env bash
# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
# Leak checking runs for the engine's suites; the window suites run without
# it, because the window system's libraries keep caches alive until exit
# that LeakSanitizer would report as ours.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# Test discovery runs each test program during the build; leak checks wait
# for the engine's run below.
ASAN_OPTIONS=detect_leaks=0 BUILD_TYPE=Debug scripts/build.sh build-asan -DGLIMRA_SANITIZE=ON -DGLIMRA_BENCH=OFF
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)" -L "^(core_tests|iconlib_tests|fuzz)$"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)" -LE "^(core_tests|iconlib_tests|fuzz)$"
