#!/bin/sh
# Installs the Debian 12 packages Brumaria needs to build, run and test; installs only what is
# missing, so it is quick to run again. Needs root (or sudo).
set -eu

packages="
  g++ cmake ninja-build pkg-config git clang-format
  python3
  libgtest-dev libbenchmark-dev
  qtbase5-dev libqt5charts5-dev
  libopencv-dev opencv-data libopencv-contrib-dev
  libassimp-dev libglm-dev
  libopenal-dev libopenal1
  libgl1-mesa-dri libgl-dev xvfb xauth
  fonts-liberation qttranslations5-l10n
  dpkg-dev desktop-file-utils appstream
"

missing=""
for package in $packages; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $package"
  fi
done

if [ -z "$missing" ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

echo "install-deps: installing$missing"
run_as_root=""
[ "$(id -u)" -eq 0 ] || run_as_root="sudo"
$run_as_root apt-get update -qq
DEBIAN_FRONTEND=noninteractive $run_as_root apt-get install -y -qq --no-install-recommends $missing
