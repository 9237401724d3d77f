#!/usr/bin/env bash
# Installs the Debian packages the build, the tool and the tests need, when any is missing.
# Further packages a caller needs (the benchmark's, for example) may be given as arguments.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev
      libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-apps imagemagick
      fonts-dejavu-core clang libclang-rt-14-dev desktop-file-utils appstream
      at-spi2-core python3-gi gir1.2-atspi-2.0 dpkg-dev file xdotool "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq || true
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
