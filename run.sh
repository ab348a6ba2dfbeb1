#!/usr/bin/env bash
# Sets up, builds and starts Orvelle Video Converter. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh
exec build/bin/orvelle "$@"
