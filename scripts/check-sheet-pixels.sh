#!/usr/bin/env bash
# Exports every unit of the sample course, question sheet and answer sheet, as PNG with two
# builds and compares the images pixel for pixel; fails on any difference. For changes to the
# drawing code that must not change what is drawn. With --pdf the sheets are exported as PDF
# (drawn again at the printer's resolution) and their pages compared as rendered by pdftoppm.
#   check-sheet-pixels.sh [--pdf] OLD_BUILD_DIR NEW_BUILD_DIR [COURSE_DIR]
# The header carries the time to the minute, so each pair of exports is made again when the
# minute turned between them. Both builds run with the same empty settings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
format=png
if [ "${1:-}" = --pdf ]; then
  format=pdf
  shift
fi
if [ $# -lt 2 ]; then
  sed -n '2,9p' "$0"
  exit 2
fi
old=$1/app/sulkan new=$2/app/sulkan course=${3:-$root/samples/kanji}
for b in "$old" "$new"; do
  [ -x "$b" ] || { echo "check-sheet-pixels.sh: no program $b" >&2; exit 2; }
done
command -v compare >/dev/null || { echo "check-sheet-pixels.sh: ImageMagick's compare is missing" >&2; exit 2; }
if [ "$format" = pdf ]; then
  command -v pdftoppm >/dev/null || { echo "check-sheet-pixels.sh: pdftoppm (poppler-utils) is missing" >&2; exit 2; }
fi

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

# Compares the pages of two exports: "same" or the number of differing pixels, per page.
compare_sheets() {
  local a=$1 b=$2
  if cmp -s "$a" "$b"; then
    echo "same (bytes)"
    return 0
  fi
  if [ "$format" = png ]; then
    local diff
    if diff=$(compare -metric AE "$a" "$b" null: 2>&1) && [ "$diff" = 0 ]; then
      echo "same (pixels)"
      return 0
    fi
    echo "$diff pixels differ"
    return 1
  fi
  # The files differ in their dates at least; their pages are rendered and compared.
  rm -f "$work"/page-a-*.png "$work"/page-b-*.png
  pdftoppm -r 300 -png "$a" "$work/page-a"
  pdftoppm -r 300 -png "$b" "$work/page-b"
  local pages_a pages_b page diff
  pages_a=$(ls "$work"/page-a-*.png | wc -l)
  pages_b=$(ls "$work"/page-b-*.png 2>/dev/null | wc -l)
  if [ "$pages_a" != "$pages_b" ]; then
    echo "$pages_a pages against $pages_b"
    return 1
  fi
  for page in "$work"/page-a-*.png; do
    diff=$(compare -metric AE "$page" "${page/page-a-/page-b-}" null: 2>&1) || true
    if [ "$diff" != 0 ]; then
      echo "$diff pixels differ on page ${page##*-}"
      return 1
    fi
  done
  echo "same (pixels of $pages_a pages)"
}

sheets=0 failed=0
for unit in "${units[@]}"; do
  for answers in "" --answers; do
    name=$unit${answers:+-answers}
    for attempt in 1 2 3; do
      minute=$(date +%Y%m%d%H%M)
      "$old" export --course "$course" --unit "$unit" $answers --out "$work/old-$name.$format" >"$work/old.log" 2>&1 || true
      "$new" export --course "$course" --unit "$unit" $answers --out "$work/new-$name.$format" >"$work/new.log" 2>&1 || true
      [ "$(date +%Y%m%d%H%M)" = "$minute" ] && break
    done
    if [ ! -f "$work/old-$name.$format" ] || [ ! -f "$work/new-$name.$format" ]; then
      echo "FAIL $name: not exported by both builds"
      cat "$work/old.log" "$work/new.log"
      failed=$((failed + 1))
      continue
    fi
    sheets=$((sheets + 1))
    if result=$(compare_sheets "$work/old-$name.$format" "$work/new-$name.$format"); then
      echo "same  $name ${result#same }"
    else
      echo "FAIL $name: $result"
      failed=$((failed + 1))
    fi
  done
done
echo "$sheets sheets compared, $failed failed"
[ "$failed" -eq 0 ]
