#!/usr/bin/env bash
# Installs what is missing, then configures and builds.
#   build.sh [BUILD_DIR [CMAKE_OPTION ...]]   (default build/, Release: what a packager builds, and
#   where GCC's optimiser-only diagnostics show up)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
shift || true
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
