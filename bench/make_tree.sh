#!/usr/bin/env bash
# Builds a benchmark folder holding the corpus's PE files COPIES times over
# (default 20), each copy under its own name so no two outputs collide.
# Usage: make_tree.sh [DEST] [COPIES]   (DEST defaults to /tmp/glimra-bench-tree)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus=${GLIMRA_CORPUS_DIR:-$here/../../shared/corpus}
dest=${1:-/tmp/glimra-bench-tree}
copies=${2:-20}
rm -rf "$dest"
mkdir -p "$dest"
for n in $(seq -w 1 "$copies"); do
  mkdir -p "$dest/$n"
  for f in "$corpus"/pe32/* "$corpus"/pe64/*; do
    kind=$(basename "$(dirname "$f")")
    cp "$f" "$dest/$n/$n-$kind-$(basename "$f")"
  done
done
echo "$dest: $(find "$dest" -type f | wc -l) files, $(du -sh "$dest" | cut -f1)"
