#!/usr/bin/env bash
# Installs, builds and starts Sulkan++ on the bundled sample course. The course is copied into
# the user's data folder on the first run (the program writes records into its course folder);
# later runs reuse that copy.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
data="${XDG_DATA_HOME:-$HOME/.local/share}/Sulkan++"
course="$data/kanji"
if [ ! -f "$course/Main.ind" ]; then
  mkdir -p "$data"
  cp -r "$root/samples/kanji" "$course"
fi
cd "$course"
exec "$root/build/app/sulkan" "$@"
