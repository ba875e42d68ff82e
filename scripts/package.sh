#!/usr/bin/env bash
# Builds the Debian package: a Release build in build-package/ (no tests, no benchmarks), then
# cpack. The .deb lands in build-package/.
#   package.sh [CMAKE_OPTION ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-package
bash "$root/scripts/build.sh" "$dir" -DSULKAN_BUILD_TESTS=OFF -DSULKAN_BUILD_BENCH=OFF "$@"
(cd "$dir" && cpack -G DEB)
ls "$dir"/*.deb
