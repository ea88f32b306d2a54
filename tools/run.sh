#!/bin/sh
# Builds Brumaria and starts it in the run folder, which links the content of data/ and takes
# the files the program writes ("configuracion", the sample files), so the checkout stays clean.
# Arguments go to the program (see --help). Without a display it runs under Xvfb; without a
# sound card it uses OpenAL's null backend.
set -eu
cd "$(dirname "$0")/.."
tools/build.sh build
root="$(pwd)"
mkdir -p run
for item in data/*; do
  name="$(basename "$item")"
  [ -e "run/$name" ] || ln -s "$root/$item" "run/$name"
done
cd run
if [ -z "${ALSOFT_DRIVERS:-}" ] && [ ! -d /dev/snd ] && [ -z "${PULSE_SERVER:-}" ] && [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export ALSOFT_DRIVERS=null
fi
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/build/app/brumaria" "$@"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/app/brumaria" "$@"
fi
