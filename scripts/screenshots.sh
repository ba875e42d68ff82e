#!/usr/bin/env bash
# Takes the screenshots of the software-centre metadata from the built program on the sample
# course, under Xvfb at 1280 x 800: a worksheet opened as the file manager opens a copy file
# ("sulkan FILE.skn"), and unit selection reached through the "開 く" button; with a scale factor,
# also the drill of the first unit, on a screen that many times larger (a 2 gives 2560 x 1600, as a
# high-density classroom display shows the same desktop).
#   screenshots.sh [BUILD_DIR [OUT_DIR [SCALE]]]   (default build/, data/screenshots/, 1)
# With WM=openbox the windows are managed (title bars, focus and stacking as on a desktop).
# Needs xvfb-run, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$root/data/screenshots}
scale=${3:-1}
size=$(python3 -c "import sys; s=float(sys.argv[1]); print('%dx%d' % (1280*s, 800*s))" "$scale")
# A point given at scale 1, on this screen.
at() { python3 -c "import sys; s=float(sys.argv[1]); print(int(int(sys.argv[2])*s), int(int(sys.argv[3])*s))" "$scale" "$1" "$2"; }
mkdir -p "$out"
out=$(cd "$out" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A course of its own with a copy file in its first lesson: the first unit of the sample course
# saved as a copy.
cp -r "$root/samples/kanji" "$tmp/course"
python3 - "$tmp/course/kan3/kan31.que" "$tmp/course/kan3/sample.skn" <<'PY'
import sys
lines = open(sys.argv[1], 'rb').read().split(b'\r\n')
unit = []
for line in lines:
    unit.append(line)
    if line == b']]':
        break
unit[0] = b'[[unitX'
open(sys.argv[2], 'wb').write(b'\r\n'.join(unit) + b'\r\n')
PY
mkdir -p "$tmp/home/.config/Sulkan++"
# No tips at start: they would cover the sheet.
printf '[General]\nShowDoYouKnow=0\n' >"$tmp/home/.config/Sulkan++/SlkDrill.ini"

cat >"$tmp/take.sh" <<SH
set -euo pipefail
cd "$tmp"
if [ -n "${WM:-}" ]; then "\$WM" >/dev/null 2>&1 & sleep 1; fi
env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$tmp/home" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \\
  QT_SCALE_FACTOR=$scale \\
  "$build/app/sulkan" course/kan3/sample.skn >"$tmp/run.log" 2>&1 &
pid=\$!
trap 'kill \$pid 2>/dev/null || true' EXIT
main=
for _ in \$(seq 1 50); do
  main=\$(xdotool search --onlyvisible --name '^Sulkan\+\+' 2>/dev/null | head -1 || true)
  [ -n "\$main" ] && break
  sleep 0.2
done
[ -n "\$main" ] || { echo "screenshots: the main window did not appear" >&2; cat "$tmp/run.log" >&2; exit 1; }
sleep 1.5
import -window root "$out/worksheet.png"
# "開 く" is the third button of the command panel.
xdotool mousemove $(at 56 91) click 1
sleep 1.5
import -window root "$out/units.png"
if [ "$scale" != 1 ]; then
  # The first unit opens beside the copy; "学 習" drills it and "練習" starts a run, the answer
  # boxes on the blanks.
  xdotool key Return
  sleep 2
  xdotool mousemove $(at 56 226) click 1
  sleep 2.5
  xdotool mousemove $(at 56 64) click 1
  sleep 1.5
  import -window root "$out/drill.png"
fi
SH
xvfb-run -a -s "-screen 0 ${size}x24" bash "$tmp/take.sh"
shots=(worksheet units)
[ "$scale" = 1 ] || shots+=(drill)
for f in "${shots[@]}"; do
  [ -s "$out/$f.png" ] || { echo "screenshots: $f.png not taken" >&2; exit 1; }
done
echo "screenshots:" "${shots[@]/#/$out/}"
