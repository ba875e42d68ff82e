#!/usr/bin/env bash
# Exports every unit of the sample course, question sheet and answer sheet, as PNG with two
# builds and compares the images pixel for pixel; fails on any difference. For changes to the
# drawing code that must not change what is drawn.
#   check-sheet-pixels.sh OLD_BUILD_DIR NEW_BUILD_DIR [COURSE_DIR]
# The header carries the time to the minute, so each pair of exports is made again when the
# minute turned between them. Both builds run with the same empty settings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 2 ]; then
  sed -n '2,7p' "$0"
  exit 2
fi
old=$1/app/sulkan new=$2/app/sulkan course=${3:-$root/samples/kanji}
for b in "$old" "$new"; do
  [ -x "$b" ] || { echo "check-sheet-pixels.sh: no program $b" >&2; exit 2; }
done
command -v compare >/dev/null || { echo "check-sheet-pixels.sh: ImageMagick's compare is missing" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME"

# Units as L-S-U[Rn]: lessons in the order of the course index, sections by their question files.
mapfile -t units < <(python3 - "$course" <<'EOF'
import os, re, sys
course = sys.argv[1]
index = open(os.path.join(course, "Main.ind"), "rb").read().split(b"\n")
lessons = [l.split(b",", 1)[1].strip() for l in index if b"," in l]
for n, entry in enumerate(lessons, 1):
    folder, _, base = entry.decode("ascii").partition("\\_")
    for section in range(1, 100):
        path = os.path.join(course, folder, f"{base}{section}.que")
        if not os.path.exists(path):
            break
        for line in open(path, "rb"):
            m = re.match(rb"\[\[unit(\d+)(R\d+)?\s*$", line)
            if m:
                print(f"{n}-{section}-{m.group(1).decode()}{(m.group(2) or b'').decode()}")
EOF
)
[ ${#units[@]} -gt 0 ] || { echo "check-sheet-pixels.sh: no units found in $course" >&2; exit 2; }

sheets=0 failed=0
for unit in "${units[@]}"; do
  for answers in "" --answers; do
    name=$unit${answers:+-answers}
    for attempt in 1 2 3; do
      minute=$(date +%Y%m%d%H%M)
      "$old" export --course "$course" --unit "$unit" $answers --out "$work/old-$name.png" >"$work/old.log" 2>&1 || true
      "$new" export --course "$course" --unit "$unit" $answers --out "$work/new-$name.png" >"$work/new.log" 2>&1 || true
      [ "$(date +%Y%m%d%H%M)" = "$minute" ] && break
    done
    if [ ! -f "$work/old-$name.png" ] || [ ! -f "$work/new-$name.png" ]; then
      echo "FAIL $name: not exported by both builds"
      cat "$work/old.log" "$work/new.log"
      failed=$((failed + 1))
      continue
    fi
    sheets=$((sheets + 1))
    if cmp -s "$work/old-$name.png" "$work/new-$name.png"; then
      echo "same  $name (bytes)"
    elif diff=$(compare -metric AE "$work/old-$name.png" "$work/new-$name.png" null: 2>&1) && [ "$diff" = 0 ]; then
      echo "same  $name (pixels)"
    else
      echo "FAIL $name: $diff pixels differ"
      failed=$((failed + 1))
    fi
  done
done
echo "$sheets sheets compared, $failed failed"
[ "$failed" -eq 0 ]
