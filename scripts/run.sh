#!/usr/bin/env bash
# Installs, builds and starts Sulkan++. Without a folder argument it opens the course used last
# time, or on the first run a copy of the sample course that the program makes in the user's data
# folder (it writes records into its course folder); later runs reuse that copy.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
exec "$root/build/app/sulkan" "$@"
