#!/usr/bin/env bash
# Installs what Glimra needs to build, run and test, from Debian's packages.
# Run as root (or with sudo available). Does nothing when all are present.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ninja-build ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libpng-dev zlib1g-dev libdeflate-dev
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  # scripts/lint.sh: the format and lint checks, at the version whose
  # findings the tree is kept clean of.
  clang-format-14 clang-tidy-14
  icoutils xvfb xauth xdotool fonts-dejavu-core
  # The tool tests read the tools' JSON back through an independent parser.
  nlohmann-json3-dev
  # bench/: the peer thumbnailer the tools' benchmark runs against.
  exe-thumbnailer
  # Manual pages made at build time; the install tests validate the desktop
  # entry and metainfo, render the pages and drive the installed program.
  help2man desktop-file-utils appstream man-db python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
