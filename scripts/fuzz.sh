#!/usr/bin/env bash
# Builds the fuzz targets with libFuzzer and runs each for SECONDS (default
# 60), starting from its kept inputs. New crash inputs land in fuzz/crashes/.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh || exit 1
seconds=${1:-60}
CC=clang CXX=clang++ BUILD_TYPE=RelWithDebInfo scripts/build.sh build-fuzz \
  -DGLIMRA_FUZZ=ON -DGLIMRA_CORE_ONLY=ON -DGLIMRA_TESTS=OFF -DGLIMRA_BENCH=OFF || exit 1
mkdir -p fuzz/crashes
status=0
shopt -s nullglob
for bin in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$bin")
  work=$(mktemp -d)
  seeds=fuzz/corpus/$name
  mkdir -p "$seeds"
  log=$(mktemp)
  echo "== fuzzing $name for ${seconds}s"
  "$bin" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="fuzz/crashes/$name-" -print_final_stats=1 "$work" "$seeds" >"$log" 2>&1
  rc=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)' "$log"
  if [ $rc -ne 0 ]; then
    echo "!! $name failed (exit $rc)"; tail -n 40 "$log"; status=1
  fi
  rm -rf "$work" "$log"
done
exit $status
