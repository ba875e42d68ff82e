#!/usr/bin/env bash
# Installs what is missing, then configures and builds.
#   build.sh [BUILD_DIR [CMAKE_OPTION ...]]   (default build/, Release: what a packager builds, and
#   where GCC's optimiser-only diagnostics show up)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
shift || true
bash "$root/scripts/install-deps.sh"
# ccache, when present, makes rebuilds of unchanged files cheap (CI and every work tree share it).
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
