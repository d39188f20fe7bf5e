#!/usr/bin/env bash
# Builds the fuzz targets with libFuzzer and runs each for SECONDS (default
# 60), starting from its kept inputs. New crash inputs land in fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
seconds=${1:-60}
CC=clang CXX=clang++ BUILD_TYPE=RelWithDebInfo scripts/build.sh build-fuzz \
  -DGLIMRA_FUZZ=ON -DGLIMRA_CORE_ONLY=ON -DGLIMRA_TESTS=OFF -DGLIMRA_BENCH=OFF
mkdir -p fuzz/crashes
status=0
for bin in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$bin")
  work=$(mktemp -d)
  seeds=fuzz/corpus/$name
  mkdir -p "$seeds"
  echo "== fuzzing $name for ${seconds}s"
  if ! "$bin" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
       -artifact_prefix="fuzz/crashes/$name-" -print_final_stats=1 "$work" "$seeds" 2>&1 | tail -n 12; then
    status=1
  fi
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  rm -rf "$work"
done
exit $status
