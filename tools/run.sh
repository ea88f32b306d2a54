#!/bin/sh
# Builds Brumaria and starts it in the run folder, which links the content the program reads
# from data/ and takes the files it writes ("configuracion", the sample files), so the checkout
# stays clean.
# Arguments go to the program (see --help). Without a display it runs under Xvfb; without a
# sound card it uses OpenAL's null backend. BRUMARIA_BUILD: build folder, default build.
set -eu
cd "$(dirname "$0")/.."
build="${BRUMARIA_BUILD:-build}"
tools/build.sh "$build"
# Relative to the checkout or absolute: the program runs from another folder.
build="$(cd "$build" && pwd)"
root="$(pwd)"
mkdir -p run
for name in modelos texturas snd intro; do
  [ -e "run/$name" ] || ln -s "$root/data/$name" "run/$name"
done
cd run
if [ -z "${ALSOFT_DRIVERS:-}" ] && [ ! -d /dev/snd ] && [ -z "${PULSE_SERVER:-}" ] && [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export ALSOFT_DRIVERS=null
fi
if [ -n "${DISPLAY:-}" ]; then
  exec "$build/app/brumaria" "$@"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build/app/brumaria" "$@"
fi
