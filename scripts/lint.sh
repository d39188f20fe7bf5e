#!/usr/bin/env bash
# Format and lint checks over our own code; any finding fails the run.
# clang-format checks every tracked C++ file against .clang-format;
# clang-tidy runs the checks in .clang-tidy over every tracked source file
# that build/ compiles, so generated files (moc, autogen, resources) and
# anything outside the tree are left out. Builds build/ the way
# scripts/test.sh does, which is nothing when that has just run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

echo "== clang-format"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror

scripts/build.sh build -DGLIMRA_WERROR=ON
# The compilation database names each file by its absolute path; a tracked
# source the build does not compile has no flags to be checked with.
compiled=$(grep -o '"file": "[^"]*"' build/compile_commands.json | sed 's/^"file": "//; s/"$//' | sort -u)
units=()
while IFS= read -r f; do
  if grep -qxF "$PWD/$f" <<<"$compiled"; then units+=("$f"); fi
done < <(git ls-files '*.cpp')

echo "== clang-tidy over ${#units[@]} files"
# One file a run, output held until it ends, so reports do not interleave.
printf '%s\0' "${units[@]}" | xargs -0 -P "$(nproc)" -n 1 sh -c '
  if ! out=$(clang-tidy-14 -p build --quiet "$1" 2>&1); then
    printf "%s\n" "$out" | grep -v " warnings\? generated\.$" >&2
    exit 1
  fi' lint
echo "lint: clean"
