#!/bin/sh
# Plays the bundled demo: builds Brumaria and starts it with the head-motion video
# data/demo/paseo.avi in place of the webcam, play started, the tracker's four windows open
# ("Imagen", "Frame", "Frame B", "Parámetros"), "Gráficas" too, and the statistics overlay on.
# The recorded head walks the player out of the church door, across the yard and up the cypress
# avenue.
#
# With a display, watch; the keys steer too, Esc ends. Without one it runs under Xvfb until the
# video has played to its end, then ends by itself. Either way the program runs in the output
# folder (default run/demo-output, which links the content of data/; nothing is written into
# data/) and leaves there, when it ends: the 3D view as escena.png, what the tracker's windows
# and "Gráficas" showed last as vistas/<window>.png, and the six sample files muestras*.m
# (octave-cli tools/plot-samples.m plots them). Sound goes to OpenAL's null backend when there
# is no sound card.
#
#   tools/demo.sh [output folder]      (BRUMARIA_BUILD: build folder, default build)
set -eu
cd "$(dirname "$0")/.."
root="$(pwd)"
build="${BRUMARIA_BUILD:-build}"
tools/build.sh "$build"
# Relative to the checkout or absolute: the program runs from another folder.
build="$(cd "$build" && pwd)"

out="${1:-run/demo-output}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
for name in modelos texturas snd intro; do
  [ -e "$out/$name" ] || ln -s "$root/data/$name" "$out/$name"
done
# Pictures of an earlier run would pass for this one's.
rm -f "$out/escena.png" "$out/vistas/Imagen.png" "$out/vistas/Frame.png" "$out/vistas/Frame B.png" \
  "$out/vistas/Parámetros.png" "$out/vistas/Gráficas.png"

cd "$out"
if [ -z "${ALSOFT_DRIVERS:-}" ] && [ ! -d /dev/snd ] && [ -z "${PULSE_SERVER:-}" ] && [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export ALSOFT_DRIVERS=null
fi
set -- "$build/app/brumaria" --video "$root/data/demo/paseo.avi" --start --views --stats \
  --screenshot escena.png --view-screenshots vistas
status=0
if [ -n "${DISPLAY:-}" ]; then
  "$@" || status=$?
else
  echo "No display: playing the demo under Xvfb to the end of the video (about half a minute) ..."
  xvfb-run -a -s "-screen 0 1280x1024x24" "$@" --quit-at-video-end --messages-on-stderr || status=$?
fi
[ "$status" -eq 0 ] || { echo "brumaria ended with status $status" >&2; exit "$status"; }

echo "The demo left in $out:"
for file in escena.png vistas/*.png muestras*.m; do
  if [ -e "$file" ]; then echo "  $file"; fi
done
