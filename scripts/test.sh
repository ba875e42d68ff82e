#!/usr/bin/env bash
# Installs, builds and runs every test headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "$root/build" && ctest --output-on-failure
