#!/bin/sh
# The soak run: builds under AddressSanitizer and UndefinedBehaviorSanitizer (folder build-asan,
# as tools/test.sh does), makes a head-motion video from the test portrait with
# brumaria-headvideo, and runs brumaria-soak's main loop over it, looping, for the given number
# of passes (default 100000), in a scratch folder that links the game's content. It prints the
# memory every 10000 passes; a memory fault or a leak ends it with the sanitizer's report. Not
# part of CI: 100000 passes take about seven minutes on two cores.
#
#   tools/soak.sh [passes] [more brumaria-soak options]
set -eu
cd "$(dirname "$0")/.."
root="$(pwd)"
passes="${1:-100000}"
[ $# -gt 0 ] && shift
folder=build-asan

tools/build.sh "$folder" -DBRUMARIA_SANITIZE=ON -DBRUMARIA_BUILD_GUI=OFF -DBRUMARIA_BUILD_BENCH=OFF

scratch="$folder/soak-run"
rm -rf "$scratch"
mkdir -p "$scratch"
for item in modelos texturas intro snd; do
  ln -s "$root/data/$item" "$scratch/$item"
done
cd "$scratch"
# Still, then every head move of the standard script, about forty seconds at 25 frames a second.
"$root/$folder/tools/headvideo/brumaria-headvideo" "$root/tests/data/astronaut.png" soak.avi >/dev/null

export ALSOFT_DRIVERS=null
# A small quarantine, so that the resident size shows the program's memory and not the
# sanitizer's store of freed blocks.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=16:malloc_context_size=20"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec "$root/$folder/tools/soak/brumaria-soak" soak.avi --passes "$passes" "$@"
