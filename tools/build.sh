#!/bin/sh
# Configures and builds into the given folder (default: build) with any extra CMake options.
set -eu
cd "$(dirname "$0")/.."
folder="${1:-build}"
[ $# -gt 0 ] && shift
generator=""
command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
[ -f "$folder/CMakeCache.txt" ] || cmake -S . -B "$folder" $generator "$@"
cmake --build "$folder"
