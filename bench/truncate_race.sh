#!/usr/bin/env bash
# Counts how often glimra-list dies when the file it reads is cut short under
# it: each try copies SOURCE afresh, starts `glimra-list --images` on the
# copy and truncates the copy to 4 KiB after a random 0 to MAX_MS ms.
# Usage: truncate_race.sh GLIMRA_LIST [TRIES] [SOURCE] [MAX_MS]
set -euo pipefail
list=$1
tries=${2:-400}
source=${3:-$(dirname "$0")/../../shared/corpus/pe64/shell32.dll}
max_ms=${4:-50}
work=$(mktemp -d "${TMPDIR:-/tmp}/glimra-race-XXXXXX")
trap 'rm -rf "$work"' EXIT
bus=0
other=0
for ((i = 0; i < tries; i++)); do
  cp "$source" "$work/copy.dll"
  "$list" --images "$work/copy.dll" >/dev/null 2>&1 &
  pid=$!
  sleep "$(printf '0.%03d' $((RANDOM % (max_ms + 1))))"
  truncate -s 4K "$work/copy.dll"
  status=0
  wait "$pid" || status=$?
  if ((status == 128 + 7)); then
    bus=$((bus + 1))
  elif ((status != 0)); then
    other=$((other + 1))
  fi
done
echo "glimra-list --images, $tries tries, cut after 0-$max_ms ms: $bus died of SIGBUS, $other ended otherwise with a failure"
