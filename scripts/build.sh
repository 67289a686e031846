#!/usr/bin/env bash
# Configures and builds the project in build/ (or $SOLVANTA_BUILD_DIR).
# Arguments are build targets; none builds everything.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build_dir=${SOLVANTA_BUILD_DIR:-build}
werror=OFF
[[ ${CI:-} == true ]] && werror=ON
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSOLVANTA_WERROR="$werror" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build_dir" -j"$(nproc)" "${targets[@]}"
