#!/usr/bin/env bash
# Builds the release tree and runs qx-bench, which prints the tool's CPU, timing and memory
# figures against qx-zenk-sim, with CuteCom started the same way for comparison (see
# docs/performance.md). Arguments go to qx-bench: --runs N, --idle-seconds S, --cutecom PATH,
# --no-x. Exit status 1 when a figure misses its goal.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# What only the benchmark needs: the X headers for its window watcher, and CuteCom.
missing=()
for p in libx11-dev cutecom; do
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
cmake --preset release >/dev/null
cmake --build --preset release --target qx-bench qx-zenk-rx qx-zenk-sim
exec build/release/bin/qx-bench "$@"
