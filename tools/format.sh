#!/bin/sh
# Formats the C++ sources git tracks with the tree's .clang-format; with --check only says which
# files are not formatted and fails if any. Generated sources keep their generator's layout.
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' ':!world/LevelContent.cpp' ':!world/LevelContent.h')
if [ "${1:-}" = "--check" ]; then
  echo "$files" | xargs clang-format --dry-run --Werror
else
  echo "$files" | xargs clang-format -i
fi
