#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${SOLVANTA_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)" --timeout 300
