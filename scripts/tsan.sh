#!/usr/bin/env bash
# The threaded suites under ThreadSanitizer: the window layer's cross-thread
# calls and posts, the thread library, the records, and the program suites
# whose listing and clearing workers run beside the user-interface thread,
# and the tools, which write images on several threads.
# Only these suites are built (build-tsan), so the step stays short. Any
# report fails its test. Qt is not instrumented; scripts/tsan.supp names the
# races reported inside Qt's own code, each with why it is not ours.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
suites=(ui_tests framework_tests model_tests listing_tests mainwnd_tests commands_tests tools_tests)
TARGETS="${suites[*]}" scripts/build.sh build-tsan -DGLIMRA_TSAN=ON -DGLIMRA_BENCH=OFF -DGLIMRA_WERROR=ON
export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp"
labels=$(IFS='|'; echo "${suites[*]}")
ctest --test-dir build-tsan --output-on-failure -j "$(nproc)" -L "^(${labels})$"
