#!/usr/bin/env bash
# Builds the folder tree the listing benchmark walks: SETS copies (default
# 128) of the corpus's small files, of which WIDE (default 90) also hold
# shell32.dll, the one file with many icon groups. The defaults give about
# 2,000 files and 20,000 icons, ten icons a file as in a folder of programs.
# Each set is nested three and four levels deep, so the walk descends:
#   DEST/gNN/sNNN/        the PE files (executables and libraries)
#   DEST/gNN/sNNN/icons/  the .ico files
#   DEST/gNN/sNNN/icons/other/uninst   an icon file without the extension
# With LINK=1 the files are hard links to the corpus instead of copies, so
# a tree of a million icons costs folders and names, not disk (DEST must be
# on the corpus's file system).
# Usage: make_listing_tree.sh [DEST] [SETS] [WIDE]
# The icon count is what glimra-list finds in each corpus file times its
# copies; glimra-list is $GLIMRA_LIST, else build/tools/glimra-list.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus=${GLIMRA_CORPUS_DIR:-$here/../../shared/corpus}
dest=${1:-/tmp/glimra-listing-tree}
sets=${2:-128}
wide=${3:-90}
lister=${GLIMRA_LIST:-$here/../build/tools/glimra-list}
if (( wide > sets )); then
  echo "WIDE ($wide) cannot exceed SETS ($sets)" >&2
  exit 2
fi

small_pe=()
for f in "$corpus"/pe32/* "$corpus"/pe64/*; do
  [[ $(basename "$f") == shell32.dll ]] || small_pe+=("$f")
done
icons=("$corpus"/ico/*.ico)
wide_pe="$corpus/pe64/shell32.dll"
other="$corpus/misc/uninst"

put=(cp)
[[ ${LINK:-0} == 1 ]] && put=(ln)

rm -rf "$dest"
mkdir -p "$dest"
for ((i = 0; i < sets; i++)); do
  dir=$(printf '%s/g%02d/s%03d' "$dest" $((i / 16)) "$i")
  mkdir -p "$dir/icons/other"
  for f in "${small_pe[@]}"; do
    "${put[@]}" "$f" "$dir/$(basename "$(dirname "$f")")-$(basename "$f")"
  done
  # Spread the wide sets evenly through the tree rather than first.
  if (( (i + 1) * wide / sets != i * wide / sets )); then
    "${put[@]}" "$wide_pe" "$dir/pe64-shell32.dll"
  fi
  "${put[@]}" "${icons[@]}" "$dir/icons/"
  "${put[@]}" "$other" "$dir/icons/other/"
done

files=$(find "$dest" -type f | wc -l)
folders=$(find "$dest" -mindepth 1 -type d | wc -l)
echo "$dest: $files files in $folders folders, $(du -sh "$dest" | cut -f1)"

# Icons per corpus file, as the listing finds them: one per id=, name= or
# index= field of glimra-list's line.
icons_of() { "$lister" "$@" | tr '\t' '\n' | grep -cE '^(id|name|index)=' || true; }
if [[ -x $lister ]]; then
  per_set=$(icons_of "${small_pe[@]}" "${icons[@]}" "$other")
  per_wide=$(icons_of "$wide_pe")
  echo "icons: $((sets * per_set + wide * per_wide)) ($per_set in each of $sets sets, $per_wide more in $wide of them)"
else
  echo "icons: not counted (no glimra-list at $lister; set GLIMRA_LIST)"
fi
