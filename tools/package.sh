#!/bin/sh
# Builds the Debian package, brumaria_<version>_<architecture>.deb, in the build folder (default
# build): the programs, the content, the launcher, icons, AppStream data and manual pages, with
# Depends taken from the programs' libraries (dpkg-shlibdeps, from dpkg-dev). Install it with
#   sudo apt install ./build/brumaria_*.deb
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
tools/build.sh "$build"
cd "$build"
cpack -G DEB
