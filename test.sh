#!/usr/bin/env bash
# Sets up, builds and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh
cd "${BUILD_DIR:-build}"
ctest --output-on-failure --parallel "$(nproc)" "$@"
