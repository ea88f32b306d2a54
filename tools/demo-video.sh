#!/bin/sh
# Remakes the demo's head-motion video, data/demo/paseo.avi, from the public-domain portrait in
# tests/data: the face rests for a moment (the tracker takes it as the rest pose), moves left
# and right (side-steps in the church door), comes nearer (walk out into the yard), moves right
# (side-step in line with the avenue), comes nearer twice (cross the yard into the avenue),
# tilts to one side and back (look left and back) and comes nearer once more (walk up the
# avenue). 625 frames of 640 x 480 at 25 frames a second, H.264 in AVI; data/demo/README.md
# tells more. With --check the video is made in a scratch folder and compared with the
# committed one instead (the same x264 and OpenCV make the same bytes).
#
#   tools/demo-video.sh [--check]      (BRUMARIA_BUILD: build folder, default build)
set -eu
cd "$(dirname "$0")/.."
folder="${BRUMARIA_BUILD:-build}"
script="still:25,left:100,right:240,nearer:1.35,right:130,nearer:1.35,nearer:1.35,roll-cw:16,roll-ccw:16,nearer:1.35,still:15"

[ -f "$folder/CMakeCache.txt" ] || tools/build.sh "$folder"
cmake --build "$folder" --target brumaria-headvideo >/dev/null
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$folder/tools/headvideo/brumaria-headvideo" tests/data/astronaut.png "$scratch/paseo.avi" \
  --codec H264 --truth "$scratch/paseo.csv" --script "$script" >/dev/null
if [ "${1:-}" = "--check" ]; then
  if cmp -s "$scratch/paseo.avi" data/demo/paseo.avi; then
    echo "data/demo/paseo.avi: made again byte for byte"
  else
    echo "data/demo/paseo.avi: made again, but not byte for byte (another x264 or OpenCV?)"
    exit 1
  fi
else
  cp "$scratch/paseo.avi" data/demo/paseo.avi
  echo "wrote data/demo/paseo.avi"
fi
