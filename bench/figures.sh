#!/bin/sh
# Runs the benchmarks behind docs/performance.md and prints the machine and every result, each
# with the load average just before it. Run it when the machine is otherwise idle.
#   usage: bench/figures.sh [BUILD_FOLDER]    (default: build, with the benchmarks built)
# The head video is made in a temporary folder; OpenGL runs under Xvfb with Mesa's software
# renderer unless a display is set.
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
video="$work/head.avi"

with_display() {
  if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; fi
}

step() {
  title=$1
  shift
  printf '\n## %s\nload average: %s\n$ %s\n' "$title" "$(cut -d' ' -f1-3 /proc/loadavg)" "$*"
  "$@"
}

printf '## Machine\n'
printf 'CPU: %s, %s cores\n' "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)" "$(nproc)"
printf 'RAM: %s MiB\n' "$(awk '/^MemTotal/ { print int($2 / 1024) }' /proc/meminfo)"
printf 'Debian: %s\n' "$(cat /etc/debian_version)"
printf 'OpenCV: %s\n' "$(pkg-config --modversion opencv4)"
with_display glxinfo -B | grep -E 'OpenGL (renderer|version) string'

step "Head video" "$build/tools/headvideo/brumaria-headvideo" tests/data/astronaut.png "$video" \
  --script still,left,right,up,down,nearer,farther,roll-cw,roll-ccw
step "Detection and tracking step" "$build/bench/tracker/tracker_bench" \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
step "CTrackedFace::Update and AlignProfile" "$build/bench/faceanalysis/faceanalysis_bench" \
  "--benchmark_filter=BM_TrackedFaceUpdate|BM_AlignProfile"
step "Interpret" "$build/bench/motion/motion_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
step "Renderer at 640 x 480" with_display "$build/bench/renderer/renderer_bench" \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
step "Our tracking against KCF and MOSSE" "$build/bench/comparison/tracker_comparison" "$video" --repetitions 5
step "Latency" with_display "$build/bench/latency/latency_bench" "$video" --repetitions 3
step "The program as a player runs it" bench/program.sh "$build"
