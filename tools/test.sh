#!/bin/sh
# Builds and runs every test: first the unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer (folder build-asan), then the whole suite, GUI tests included
# (folder build). Without a display the GUI tests run under Xvfb; sound goes to OpenAL's null
# backend. The last lines are CTest's summary of the whole suite.
set -u
cd "$(dirname "$0")/.."

export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-xcb}"
jobs="${CTEST_JOBS:-2}"

with_display() {
  if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; fi
}

status=0
tools/build.sh build-asan -DBRUMARIA_SANITIZE=ON -DBRUMARIA_BUILD_GUI=OFF -DBRUMARIA_BUILD_BENCH=OFF || exit 1
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest -L unit -j "$jobs" --output-on-failure) || status=1

tools/build.sh build || exit 1
(cd build && with_display ctest -j "$jobs" --output-on-failure) || status=1
exit $status
