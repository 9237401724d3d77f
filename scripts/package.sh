#!/usr/bin/env bash
# Builds the release preset and its Debian package (dependencies filled in from the shared
# libraries by dpkg-shlibdeps): build/release/qx-zenk-rx_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh release
rm -f build/release/qx-zenk-rx_*.deb
(cd build/release && cpack -G DEB > cpack.log) || { cat build/release/cpack.log; exit 1; }
deb=$(ls build/release/qx-zenk-rx_*.deb)
echo "Package: $deb"
dpkg-deb -f "$deb" Package Version Depends Recommends
