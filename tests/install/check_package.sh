#!/usr/bin/env bash
# The package from end to end, as CI runs it: built by scripts/package.sh,
# installed with apt-get, checked through the installed programs only
# (check_installed.sh), removed, and nothing of it left behind.
#   check_package.sh CORPUS
set -euo pipefail
cd "$(dirname "$0")/../.."
corpus=$1
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

scripts/package.sh
deb=$(ls build-package/glimra_*.deb)
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "./$deb"
files=$(mktemp)
trap 'rm -f "$files"' EXIT
dpkg -L glimra >"$files"
grep -qx /usr/bin/glimra "$files" || { echo "the package does not hold /usr/bin/glimra" >&2; exit 1; }

tests/install/check_installed.sh /usr "$corpus"

DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove --purge -y glimra
if dpkg-query -W -f='${Status}' glimra 2>/dev/null | grep -q installed; then
  echo "glimra is still installed" >&2
  exit 1
fi
left=0
while read -r path; do
  # Folders such as /usr/share/man belong to others too; files must go.
  if [ -e "$path" ] && [ ! -d "$path" ]; then
    echo "left behind: $path" >&2
    left=1
  fi
done <"$files"
for folder in /usr/share/glimra; do
  if [ -e "$folder" ]; then
    echo "left behind: $folder" >&2
    left=1
  fi
done
exit "$left"
