#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite: unit, Qt backend, end to end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh release
ctest --preset release -j2
