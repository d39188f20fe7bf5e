#!/usr/bin/env bash
# Checks an installed copy of Glimra through its installed files only:
#   check_installed.sh PREFIX CORPUS
# PREFIX is where it was installed (/usr for the package), CORPUS the real
# test files (../shared/corpus). Every check says what failed; the first
# failure ends the run with status 1.
set -euo pipefail
prefix=$1
corpus=$(cd "$2" && pwd)
bin=$prefix/bin
app_id=invalid.glimra.Glimra

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
step() { echo "-- $*"; }

step "desktop entry and metainfo validate"
out=$(desktop-file-validate "$prefix/share/applications/$app_id.desktop" 2>&1) || fail "desktop-file-validate: $out"
# A hint is advice (Graphics and Utility are both main categories, as asked);
# errors and warnings are not allowed.
if grep -E ': (error|warning):' <<<"$out"; then fail "desktop-file-validate reports problems"; fi
out=$(appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$app_id.metainfo.xml" 2>&1) ||
  fail "appstreamcli: $out"
if grep -E '^(E|W):' <<<"$out"; then fail "appstreamcli reports errors or warnings"; fi

step "manual pages render without warnings"
for program in glimra glimra-list glimra-extract glimra-thumbnailer; do
  page=$prefix/share/man/man1/$program.1
  [ -s "$page" ] || page=$prefix/share/man/man1/$program.1.gz
  [ -s "$page" ] || fail "no manual page for $program"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man -l $page: $warnings"
done

step "glimra-list over the corpus agrees with expected-modules.tsv"
# The file has Windows line ends.
grep -v '^#' "$corpus/expected-modules.tsv" | tr -d '\r' >"$work/expected.tsv"
(cd "$corpus" && cut -f1 "$work/expected.tsv" | xargs -d '\n' "$bin/glimra-list") >"$work/listed.tsv"
diff -u "$work/expected.tsv" "$work/listed.tsv" || fail "glimra-list disagrees with expected-modules.tsv"

step "glimra-extract writes .ico and PNG files"
mkdir "$work/ico" "$work/png"
"$bin/glimra-extract" -o "$work/ico" "$corpus/pe32/regedit.exe" >"$work/extract.txt"
[ "$(find "$work/ico" -name '*.ico' | wc -l)" -eq 6 ] || fail "regedit.exe should give 6 .ico files"
"$bin/glimra-extract" --png --size 32 -o "$work/png" "$corpus/pe64/notepad.exe" >/dev/null
[ "$(find "$work/png" -name '*_32x32_*.png' | wc -l)" -eq 1 ] || fail "notepad.exe --png --size 32"

step "glimra-thumbnailer writes a thumbnail"
"$bin/glimra-thumbnailer" -s 128 "$corpus/pe64/shell32.dll" "$work/thumb.png"
[ "$(head -c 8 "$work/thumb.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "no PNG thumbnail"

step "glimra starts offscreen, shows its main window and ends on a close request"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=offscreen "$bin/glimra" &
pid=$!
pids+=("$pid")
state=$(python3 "$(dirname "$0")/ask_running_copy.py" "STATE main") || fail "the running copy does not answer"
[ "$state" = "OK iconic=0 popup=0 visible=1" ] || fail "main window state: $state"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "glimra ended with $status on SIGTERM"

step "the installed help opens (F1 in the main window)"
xvfb-run -a "$(dirname "$0")/check_help_opens.sh" "$bin/glimra" || fail "the help did not open"
echo "all checks passed"
