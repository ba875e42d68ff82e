#!/usr/bin/env bash
# Starts the built program on a copy of the sample course under Xvfb with its accessibility
# bridge on, and checks through AT-SPI (the tree a screen reader reads) that every interactive
# control of the main window, the table-of-contents editor, unit selection, the question editor
# and the drill has a name. Exit status 1 when any
# has none. Needs at-spi2-core and python3-pyatspi (scripts/install-deps.sh).
#   check-accessibility.sh [BUILD_DIR]   (default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp -r "$root/samples/kanji" "$tmp/course"
mkdir -p "$tmp/home/.config/Sulkan++"
printf '[General]\nShowDoYouKnow=0\n' >"$tmp/home/.config/Sulkan++/SlkDrill.ini"

cat >"$tmp/run.sh" <<SH
set -euo pipefail
export HOME="$tmp/home" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \\
  QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
unset XDG_CONFIG_HOME XDG_DATA_HOME
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=\$!
sleep 1
"$build/app/sulkan" "$tmp/course" >"$tmp/program.log" 2>&1 &
pid=\$!
trap 'kill \$pid \$bus 2>/dev/null || true' EXIT
/usr/bin/python3 "$root/scripts/check-accessibility.py" index units questions drill
SH
xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- bash "$tmp/run.sh"
