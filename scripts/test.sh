#!/usr/bin/env bash
# Installs, builds (warnings as errors) and runs every test headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" "$root/build" -DSULKAN_WERROR=ON
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
(cd "$root/build" && ctest --output-on-failure -j"$(nproc)")
bash "$root/scripts/test-install.sh" "$root/build"
# Printing through a private print daemon (skipped where cupsd or root is missing).
bash "$root/scripts/test-print.sh" "$root/build"
# Every control of the main window, editors, unit selection and drill named for a screen reader.
bash "$root/scripts/check-accessibility.sh" "$root/build"
# The sample course's own checker.
python3 -m unittest discover -s "$root/samples/tools" -q
