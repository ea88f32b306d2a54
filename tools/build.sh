#!/bin/sh
# Configures and builds into the given folder (default: build) with any extra CMake options.
set -eu
cd "$(dirname "$0")/.."
folder="${1:-build}"
[ $# -gt 0 ] && shift
generator=""
command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
# A configuration that stopped half-way (a package was missing) leaves a cache but no build files.
if [ ! -f "$folder/build.ninja" ] && [ ! -f "$folder/Makefile" ]; then
  rm -rf "$folder/CMakeCache.txt" "$folder/CMakeFiles"
  cmake -S . -B "$folder" $generator "$@"
fi
cmake --build "$folder"
