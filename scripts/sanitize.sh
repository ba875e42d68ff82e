#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UBSan in build-sanitize/ and runs every test there.
# clang 14 is used when installed, so this build is also the project's clang build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build-sanitize"
bash "$root/scripts/install-deps.sh"
if command -v clang++-14 >/dev/null; then export CC=clang-14 CXX=clang++-14; fi
bash "$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Debug -DSULKAN_SANITIZE=ON \
  -DSULKAN_WERROR=ON -DSULKAN_BUILD_BENCH=OFF
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp"
cd "$dir" && ctest --output-on-failure -j"$(nproc)"
