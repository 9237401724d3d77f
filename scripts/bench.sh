#!/usr/bin/env bash
# Builds the release tree and runs qx-bench, which prints the tool's CPU, timing and memory
# figures against qx-zenk-sim, with CuteCom started the same way for comparison (see
# docs/performance.md). Arguments go to qx-bench: --runs N, --idle-seconds S, --cutecom PATH,
# --no-x. Exit status 1 when a figure misses its goal.
set -euo pipefail
cd "$(dirname "$0")/.."
# What only the benchmark needs besides: the X headers for its window watcher, and CuteCom.
bash scripts/deps.sh libx11-dev cutecom
cmake --preset release >/dev/null
cmake --build --preset release --target qx-bench qx-zenk-rx qx-zenk-sim
exec build/release/bin/qx-bench "$@"
