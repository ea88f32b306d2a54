#!/bin/sh
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz and runs them, one after the other, each for the given time. Not part of the
# default build or of CI. Needs clang and its fuzzer runtime (Debian: clang libclang-rt-14-dev).
#
#   tools/fuzz.sh [target|all] [seconds]      e.g. tools/fuzz.sh levelmap 300
#
# Targets: configuracion snd xmodel trackedface alignprofile levelmap samplefiles (default all,
# 300 s each).
# Corpora grow in build-fuzz/corpus/<target> (seeded from the test data and from
# tests/data/fuzz-regressions/<target>); an input that breaks something is written to
# build-fuzz/findings/<target>/ and the run stops with its report. (The model loader reads each
# .x file in a helper process: a file that crashes Assimp there is refused, not a fault. Replay
# a file with build-fuzz/fuzz/fuzz-<target> FILE.)
set -eu
cd "$(dirname "$0")/.."

targets="configuracion snd xmodel trackedface alignprofile levelmap samplefiles"
which="${1:-all}"
seconds="${2:-300}"
[ "$which" = all ] || targets="$which"
folder=build-fuzz

if ! command -v clang++ >/dev/null 2>&1 ||
   [ ! -f "$(clang++ --print-runtime-dir)/libclang_rt.fuzzer-x86_64.a" ]; then
  echo "fuzz: clang++ with its fuzzer runtime is needed (apt-get install clang libclang-rt-14-dev)" >&2
  exit 1
fi

if [ ! -f "$folder/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRUMARIA_SANITIZE=ON -DBRUMARIA_BUILD_FUZZ=ON -DBRUMARIA_BUILD_GUI=OFF -DBRUMARIA_BUILD_BENCH=OFF \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
fi
for target in $targets; do
  cmake --build "$folder" --target "fuzz-$target"
done

seed() {
  corpus="$1"
  shift
  for file in "$@"; do
    [ -f "$file" ] && cp "$file" "$corpus/" || true
  done
}

for target in $targets; do
  # Absolute: the fuzzers work in a temporary folder of their own.
  corpus="$PWD/$folder/corpus/$target"
  findings="$PWD/$folder/findings/$target"
  mkdir -p "$corpus" "$findings"
  max_len=4096
  case "$target" in
    configuracion)
      printf 'Distancia X:20\nDistancia Y:20\nDistancia Z:20\nAngulo GiroX:3\nAngulo GiroY Arriba:10\nAngulo GiroY Abajo:-1\nAngulo GiroZ:10\n' \
        > "$corpus/default" ;;
    snd)
      printf '\004\000abcdefgh' > "$corpus/two-frames" ;;
    xmodel)
      max_len=16384
      seed "$corpus" tests/data/modelos/*.x data/modelos/cruz.x data/modelos/tumba1.x ;;
  esac
  seed "$corpus" tests/data/fuzz-regressions/"$target"/*
  echo "fuzz: $target for $seconds s"
  ALSOFT_DRIVERS=null \
  ASAN_OPTIONS="detect_leaks=1" \
  LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan-suppressions.txt:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$PWD/$folder/fuzz/fuzz-$target" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus"
done
