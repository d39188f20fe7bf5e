#!/usr/bin/env bash
# Sets everything up, builds Glimra and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
if [ -x build/app/glimra ]; then
  exec build/app/glimra "$@"
fi
echo "Built the engine; the window program is not part of this build yet."
echo "Try: build/tools/glimra-list --images FILE..."
