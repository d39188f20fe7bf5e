#!/usr/bin/env bash
# Run under an X server (xvfb-run): starts the program, presses F1 in its
# main window and expects the help viewer, a "Glimra Help" window of the
# size the help file's window type gives (760x560). The "help cannot be
# displayed" dialog bears the same title but not that size.
set -euo pipefail
program=$1
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
# On the X server, whatever platform the caller's tests run on.
QT_QPA_PLATFORM=xcb "$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Glimra$' | head -1)
xdotool key --window "$main" F1 2>/dev/null
help=$(timeout 30 xdotool search --sync --onlyvisible --name '^Glimra Help$' | head -1)
xdotool getwindowgeometry "$help" | grep -q 'Geometry: 760x560'
