#!/bin/sh
# The program as a player lives with it, measured from outside on a display of its own (Xvfb):
# processor share of one core on the title screen, playing with the keys, playing the demo
# video and with a menu or a dialog open (10 s windows, /proc/PID/stat, every thread of the
# process), main-loop passes per second while playing, and the warm start-up to the first frame on
# screen (median of 5, with the program's own breakdown by stage where it gives one). A second
# program (an older build) is measured the same way right after, for a before-and-after in one run.
#   usage: bench/program.sh [BUILD_FOLDER] [OTHER_PROGRAM [ITS_DATA_FOLDER]]
#   (defaults: build, and the other program reads data/ too)
# Measure with the machine otherwise idle: the load average is printed beside every figure.
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
other="${2:-}"
other_data="${3:-data}"
cmake --build "$build" --target brumaria program_bench >/dev/null
work=$(mktemp -d)
server=""
cleanup() {
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display and says which; its process is measured too.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
while [ ! -s "$work/display" ]; do sleep 0.1; done
DISPLAY=":$(cat "$work/display")"
export DISPLAY

printf 'CPU: %s, %s cores; Debian %s\n' "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)" \
  "$(nproc)" "$(cat /etc/debian_version)"
"$build/bench/program/program_bench" "$build/app/brumaria" data --server-pid "$server"
if [ -n "$other" ]; then
  echo
  "$build/bench/program/program_bench" "$other" "$other_data" --server-pid "$server"
fi
