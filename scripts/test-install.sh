#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks what lands there: the program, desktop
# entry, metadata, icons, sample course and help pages; validates the desktop entry and the
# metadata when the validators are installed; then starts the installed program once with an
# empty home folder and no display, and checks that it copied the sample course for the user and
# remembered it.
#   test-install.sh [BUILD_DIR]   (default build/, already built; SULKAN_INSTALL_KEEP=1 keeps the
#   temporary prefix and home folder for a look)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
id=org.sulkanpp.Sulkan
tmp=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  if [ -n "${SULKAN_INSTALL_KEEP:-}" ]; then echo "kept $tmp" >&2; else rm -rf "$tmp"; fi
}
trap cleanup EXIT

failures=0
fail() { echo "test-install: $*" >&2; failures=$((failures + 1)); }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/sulkan" ] || fail "bin/sulkan missing or not executable"
for f in "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
         "share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -s "$prefix/$f" ] || fail "$f missing"
done
for size in 16 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  if [ ! -s "$png" ]; then
    fail "icon ${size}x${size} missing"
  elif command -v file >/dev/null && ! file "$png" | grep -q "PNG image data, $size x $size"; then
    fail "icon ${size}x${size} is not a PNG of that size"
  fi
done
# The sample course byte for byte, and nothing else beside it (no tools).
diff -r "$root/samples/kanji" "$prefix/share/sulkan/kanji" >/dev/null ||
  fail "share/sulkan/kanji differs from samples/kanji"
extra=$(cd "$prefix/share/sulkan" && ls -A | grep -vx -e kanji -e help || true)
[ -z "$extra" ] || fail "unexpected in share/sulkan: $extra"
if [ -d "$root/help" ]; then
  diff -r "$root/help" "$prefix/share/sulkan/help" >/dev/null || fail "share/sulkan/help differs from help/"
fi

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry does not validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$tmp/appstream.log" 2>&1 ||
    { cat "$tmp/appstream.log" >&2; fail "metainfo does not validate"; }
fi

# The installed course reads cleanly with the installed program.
"$prefix/bin/sulkan" check "$prefix/share/sulkan/kanji" >"$tmp/check.log" ||
  { tail -5 "$tmp/check.log" >&2; fail "sulkan check on the installed sample course"; }

# First start from the desktop menu: working folder = an empty home folder, nothing remembered.
home=$tmp/home
mkdir -p "$home"
(cd "$home" && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
  LANG=C.UTF-8 "$prefix/bin/sulkan" >"$tmp/run.log" 2>&1) &
pid=$!
copy=$home/.local/share/Sulkan++/kanji
ini=$home/.config/Sulkan++/SlkDrill.ini
for _ in $(seq 1 100); do
  if [ -f "$copy/Main.ind" ] && grep -qF "CourseFolder=$copy/" "$ini" 2>/dev/null; then break; fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
if ! kill -0 "$pid" 2>/dev/null; then
  fail "the installed program ended on its first start"
  cat "$tmp/run.log" >&2
fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=
diff -r "$root/samples/kanji" "$copy" >/dev/null || fail "first start did not copy the sample course to $copy"
grep -qF "CourseFolder=$copy/" "$ini" 2>/dev/null || fail "first start did not remember $copy/ in $ini"

if [ "$failures" -ne 0 ]; then
  echo "test-install: $failures check(s) failed" >&2
  exit 1
fi
echo "test-install: installed files, desktop entry, metadata and first start all good"
