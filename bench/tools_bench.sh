#!/usr/bin/env bash
# The command-line tools against the peer tools, side by side in one run,
# over every file of a tree (bench/make_tree.sh builds one):
#   extract: glimra-extract -o DIR         vs  wrestool -x -t14 -o DIR
#   png:     glimra-extract --png -o DIR   vs  wrestool -x -t14, then icotool -x over its .ico files
#   thumb:   glimra-thumbnailer -s 256 IN OUT  vs  exe-thumbnailer -s 256 IN OUT, once per file
# Extraction runs are the best of RUNS (default 3), each tool given all files
# in one process (their fastest use); thumbnailers run once per file, as a
# file manager calls them. Prints counts, times, ratios and each goal with
# PASS or MISS: extraction at least 10x faster than each pipeline, the
# thumbnailer at least 30x faster per file and writing a thumbnail for every
# file that has an icon; every file where the two thumbnailers differ is
# listed with what each did.
# Usage: tools_bench.sh [TREE] [BUILD_DIR] [RUNS]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tree=${1:-/tmp/glimra-bench-tree}
build=${2:-$here/../build}
runs=${3:-3}
tools=$build/tools
for t in glimra-extract glimra-thumbnailer glimra-list; do
  [ -x "$tools/$t" ] || { echo "missing $tools/$t (build it first)"; exit 1; }
done
for t in wrestool icotool exe-thumbnailer; do
  command -v "$t" >/dev/null || { echo "missing $t (scripts/deps.sh installs it)"; exit 1; }
done
mapfile -t files < <(find "$tree" -type f | sort)
[ ${#files[@]} -gt 0 ] || { echo "no files under $tree (run bench/make_tree.sh)"; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/glimra-tools-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
# Processor time (user + system) of every child this shell has waited for.
# `times` must run in this shell (a command substitution is a new process
# that has waited for none of them), so it writes to a file first.
cpu_now() {
  times >"$work/times"
  tail -1 "$work/times" | awk '{ t = 0; for (i = 1; i <= 2; ++i) { split($i, p, "m"); t += p[1] * 60 + p[2] } printf "%.4f", t }'
}
diff_of() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", b - a }'; }
# best NAME COMMAND...: runs a command RUNS times into a fresh $work/out and
# keeps the best wall time in NAME and the best processor time in NAME_cpu.
# The machine may be shared: processor time is the tools' own cost, wall
# time includes waiting for a core.
best() {
  local var=$1; shift
  local b="" bc="" t0 t1 c0 c1 d dc
  for _ in $(seq "$runs"); do
    rm -rf "$work/out"; mkdir -p "$work/out"
    cpu_now >"$work/c0"; t0=$(now); "$@" >/dev/null 2>&1; t1=$(now); cpu_now >"$work/c1"
    c0=$(cat "$work/c0") c1=$(cat "$work/c1")
    d=$(diff_of "$t0" "$t1"); dc=$(diff_of "$c0" "$c1")
    if [ -z "$b" ] || awk -v d="$d" -v b="$b" 'BEGIN { exit !(d < b) }'; then b=$d; fi
    if [ -z "$bc" ] || awk -v d="$dc" -v b="$bc" 'BEGIN { exit !(d < b) }'; then bc=$dc; fi
  done
  printf -v "$var" '%s' "$b"
  printf -v "${var}_cpu" '%s' "$bc"
}
count() { find "$work/out" -type f -name "$1" | wc -l; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (a > 0 ? b / a : 0) }'; }
verdict() { awk -v r="$1" -v g="$2" 'BEGIN { print (r >= g ? "PASS" : "MISS") }'; }
# report NAME OURS_TEXT THEIRS_TEXT GOAL: one line with both measures.
report() {
  local r rc
  r=$(ratio "$t_ours" "$t_theirs"); rc=$(ratio "$t_ours_cpu" "$t_theirs_cpu")
  echo "$1: $2 ${t_ours} s wall, ${t_ours_cpu} s cpu; $3 ${t_theirs} s wall, ${t_theirs_cpu} s cpu;" \
       "wall ${r}x (goal ${4}x: $(verdict "$r" "$4")), cpu ${rc}x (goal ${4}x: $(verdict "$rc" "$4"))"
}

echo "tree: $tree, ${#files[@]} files; best of $runs runs; output in $work"

extract_ours() { "$tools/glimra-extract" -o "$work/out" "${files[@]}"; }
extract_theirs() { wrestool -x -t14 -o "$work/out" "${files[@]}"; }
best t_ours extract_ours; n_ours=$(count '*.ico')
best t_theirs extract_theirs; n_theirs=$(count '*.ico')
report extract "glimra-extract $n_ours .ico" "wrestool $n_theirs .ico" 10

png_ours() { "$tools/glimra-extract" --png -o "$work/out" "${files[@]}"; }
png_theirs() {
  mkdir -p "$work/out/ico"
  wrestool -x -t14 -o "$work/out/ico" "${files[@]}"
  find "$work/out/ico" -name '*.ico' -print0 | xargs -0 icotool -x -o "$work/out"
}
best t_ours png_ours; n_ours=$(count '*.png')
best t_theirs png_theirs; n_theirs=$(count '*.png')
report png "glimra-extract --png $n_ours PNG" "wrestool + icotool $n_theirs PNG" 10

# Thumbnails: every file once with each thumbnailer.
mkdir -p "$work/thumb/ours" "$work/thumb/theirs"
thumbs() {  # thumbs DIR COMMAND... : one run per file, OUT = DIR/<n>.png
  local dir=$1; shift
  local i=0
  for f in "${files[@]}"; do
    "$@" -s 256 "$f" "$dir/$i.png" >/dev/null 2>&1
    i=$((i + 1))
  done
}
cpu_now >"$work/c0"; t0=$(now); thumbs "$work/thumb/ours" "$tools/glimra-thumbnailer"; t1=$(now); cpu_now >"$work/c1"
cpu_now >"$work/c2"; t2=$(now); thumbs "$work/thumb/theirs" exe-thumbnailer; t3=$(now); cpu_now >"$work/c3"
c0=$(cat "$work/c0") c1=$(cat "$work/c1") c2=$(cat "$work/c2") c3=$(cat "$work/c3")
n=${#files[@]}
per() { awk -v d="$(diff_of "$1" "$2")" -v n="$n" 'BEGIN { printf "%.2f", d * 1000 / n }'; }
t_ours=$(per "$t0" "$t1") t_theirs=$(per "$t2" "$t3") t_ours_cpu=$(per "$c0" "$c1") t_theirs_cpu=$(per "$c2" "$c3")
w_ours=$(find "$work/thumb/ours" -name '*.png' | wc -l)
w_theirs=$(find "$work/thumb/theirs" -name '*.png' | wc -l)
echo "thumb (per file, ms): glimra-thumbnailer $w_ours thumbnails ${t_ours} wall, ${t_ours_cpu} cpu;" \
     "exe-thumbnailer $w_theirs thumbnails ${t_theirs} wall, ${t_theirs_cpu} cpu;" \
     "wall $(ratio "$t_ours" "$t_theirs")x (goal 30x: $(verdict "$(ratio "$t_ours" "$t_theirs")" 30))," \
     "cpu $(ratio "$t_ours_cpu" "$t_theirs_cpu")x (goal 30x: $(verdict "$(ratio "$t_ours_cpu" "$t_theirs_cpu")" 30))"

# Every file with an icon, as glimra-list sees it, must have a thumbnail.
missing=0 differ=0 i=0
for f in "${files[@]}"; do
  icons=$("$tools/glimra-list" "$f" | awk -F'\t' '{ n = 0; for (k = 3; k <= NF; ++k) if ($k !~ /^count=/) ++n; print n }')
  ours=$work/thumb/ours/$i.png theirs=$work/thumb/theirs/$i.png
  if [ "$icons" -gt 0 ] && [ ! -f "$ours" ]; then missing=$((missing + 1)); fi
  desc() { if [ -f "$1" ]; then file -b "$1" | cut -d, -f2 | tr -d ' '; else echo "none"; fi; }
  a=$(desc "$ours") b=$(desc "$theirs")
  if [ "$a" != "$b" ]; then
    differ=$((differ + 1))
    echo "  differs: $f ($icons icons): glimra $a, exe-thumbnailer $b"
  fi
  i=$((i + 1))
done
echo "thumb: files with an icon but no glimra thumbnail: $missing (goal 0: $([ $missing -eq 0 ] && echo PASS || echo MISS)); files where the two differ in size or presence: $differ"
