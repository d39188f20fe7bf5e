#!/usr/bin/env bash
# The lint configuration still catches what it is meant to: clang-tidy with
# the root .clang-tidy over planted_findings.cpp must report exactly the check
# that each "finding:" comment names, on the line after it, and nothing else.
# Usage: check_config.sh [CLANG_TIDY]
set -euo pipefail
tidy=${1:-clang-tidy-14}
here=$(cd "$(dirname "$0")" && pwd)
fixture=$here/planted_findings.cpp
expected=$(grep -n '// finding: ' "$fixture" | sed -E 's/^([0-9]+):.*finding: ([a-z-]+).*$/\1 \2/' |
  while read -r line check; do echo "$((line + 1)) $check"; done | sort)
# Findings fail the run (WarningsAsErrors), which is what is asked for here.
output=$("$tidy" --quiet "$fixture" -- -std=c++20 2>&1 || true)
reported=$(grep -E "^$fixture:[0-9]+:[0-9]+: (warning|error): " <<<"$output" |
  sed -E 's/^[^:]+:([0-9]+):[0-9]+: .*\[([a-z.-]+)[],].*$/\1 \2/' | sort -u || true)
if [ "$expected" != "$reported" ]; then
  echo "planted findings (<) and what clang-tidy reported (>) differ:"
  diff <(echo "$expected") <(echo "$reported") || true
  exit 1
fi
echo "lint configuration: $(wc -l <<<"$expected") planted findings reported, nothing else"
