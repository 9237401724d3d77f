#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite: unit, Qt backend, end to end,
# the fuzz corpus replays; then the unit and Qt backend suites and the replays again under
# AddressSanitizer + UndefinedBehaviorSanitizer, and a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh release
ctest --preset release -j2
bash scripts/build.sh asan && ctest --preset asan -j2
bash scripts/fuzz.sh 15
# The Debian package: built, installed into this machine and tried as a normal user under Xvfb.
bash scripts/package.sh
if [ "$(id -u)" -eq 0 ]; then bash scripts/check_installed.sh; else sudo bash scripts/check_installed.sh; fi
