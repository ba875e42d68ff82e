#!/usr/bin/env bash
# Builds the Debian package: a Release build in build-package/ (no tests, no benchmarks), then
# cpack. The .deb lands in build-package/.
#   package.sh [CMAKE_OPTION ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-package
# Debian's hardening flags, as a Debian package build takes them (stack protector, fortified
# functions, read-only relocations bound at start).
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
bash "$root/scripts/build.sh" "$dir" -DSULKAN_BUILD_TESTS=OFF -DSULKAN_BUILD_BENCH=OFF \
  "-DCMAKE_CXX_FLAGS=$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(flags LDFLAGS)" "-DCMAKE_SHARED_LINKER_FLAGS=$(flags LDFLAGS)" "$@"
(cd "$dir" && cpack -G DEB)
ls "$dir"/*.deb
