#!/bin/sh
# Regenerates everything that follows from the floor plan in tools/levelgen/levelgen.py, in
# order: world/LevelContent.cpp and .h; the models, textures and intro picture of data/ (the
# walls stand on the plan's walls); the draw lists derived from those models
# (tools/levelgen/drawlists.txt) and world/LevelContent.cpp again with them; docs/floorplan.png;
# and docs/views (under Xvfb when there is no display). Builds into the given folder (default
# build). The tests check that data/ and world/LevelContent.cpp match their generators.
#
#   tools/levelgen.sh [build folder]
set -eu
cd "$(dirname "$0")/.."
folder="${1:-build}"

with_display() {
  if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; fi
}

python3 tools/levelgen/levelgen.py
tools/build.sh "$folder"
"$folder/tools/contentgen/contentgen" data
"$folder/tools/floorplan/drawlists"
python3 tools/levelgen/levelgen.py
tools/build.sh "$folder"
"$folder/tools/floorplan/floorplan"
with_display "$folder/tools/contentviews/contentviews" data docs/views
