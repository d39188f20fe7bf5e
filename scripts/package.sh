#!/usr/bin/env bash
# Builds the Debian package: installs the build dependencies that
# debian/control names (and the tools that check the result), copies the
# source into build-package/ so the working tree stays clean, and runs
# dpkg-buildpackage there. The package lands in build-package/, its lintian
# report in build-package/lintian.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(build-essential debhelper dpkg-dev fakeroot lintian ccache)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
# What debian/control's Build-Depends names.
if ! dpkg-checkbuilddeps >/dev/null 2>&1; then
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get build-dep -y --no-install-recommends ./
fi

version=$(dpkg-parsechangelog -S Version)
out=$PWD/build-package
rm -rf "$out"
mkdir -p "$out/glimra-$version"
tar -C . --exclude='./build*' --exclude=./.git --exclude='./obj-*' -cf - . | tar -C "$out/glimra-$version" -xf -

# The shared compiler cache, when there is one; it keys on the flags, so a
# second package build is what it speeds up. debhelper gives the build a
# home folder of its own, so the cache folder is named outright.
if command -v ccache >/dev/null; then
  CCACHE_DIR=${CCACHE_DIR:-$(ccache --get-config cache_dir)}
  export CCACHE_DIR CCACHE_NOHASHDIR=true CCACHE_BASEDIR="$out/glimra-$version"
  export GLIMRA_CMAKE_ARGS="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi
export DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}"
(cd "$out/glimra-$version" && dpkg-buildpackage -us -uc -b)

# lintian's verdict: errors fail the build, warnings are listed.
lintian --info "$out"/glimra_*.changes | tee "$out/lintian.txt"
if grep -q '^E:' "$out/lintian.txt"; then
  echo "lintian reports errors" >&2
  exit 1
fi
ls "$out"/glimra_*.deb
