#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks what lands there: the program, desktop
# entry, metadata, icons, the copy file's MIME type, sample course and help pages; validates the
# desktop entry and the metadata when the validators are installed; checks that the program
# carries no build path and answers --help and --version without a display; then starts the installed program once with an
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
# The copy file's type and its icon, as the file manager reads them once the MIME database is
# built (here in a scratch copy, leaving the prefix as installed).
mime=$prefix/share/mime/packages/$id.xml
if [ ! -s "$mime" ]; then
  fail "share/mime/packages/$id.xml missing"
elif command -v update-mime-database >/dev/null; then
  mkdir -p "$tmp/mime/packages"
  cp "$mime" "$tmp/mime/packages/"
  update-mime-database "$tmp/mime" >/dev/null 2>"$tmp/mime.log" || { cat "$tmp/mime.log" >&2; fail "update-mime-database"; }
  grep -qx 'application/x-sulkan-copy:\*\.skn' "$tmp/mime/globs" 2>/dev/null ||
    fail "the MIME database does not give *.skn the type application/x-sulkan-copy"
  grep -qx 'application/x-sulkan-copy:application-x-sulkan-copy' "$tmp/mime/icons" 2>/dev/null ||
    fail "the MIME database does not name the copy file's icon"
fi
[ -s "$prefix/share/icons/hicolor/scalable/mimetypes/application-x-sulkan-copy.svg" ] ||
  fail "copy-file icon (scalable) missing"
for size in 16 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/mimetypes/application-x-sulkan-copy.png
  if [ ! -s "$png" ]; then
    fail "copy-file icon ${size}x${size} missing"
  elif command -v file >/dev/null && ! file "$png" | grep -q "PNG image data, $size x $size"; then
    fail "copy-file icon ${size}x${size} is not a PNG of that size"
  fi
done
entry=$prefix/share/applications/$id.desktop
grep -qx 'Exec=sulkan %f' "$entry" || fail "the desktop entry does not pass the file manager's file (%f)"
grep -q '^MimeType=.*application/x-sulkan-copy;' "$entry" || fail "the desktop entry does not take copy files"
grep -q '^MimeType=.*inode/directory;' "$entry" || fail "the desktop entry does not take course folders"

# The installed program carries no path of the tree it was built in or from.
if command -v strings >/dev/null; then
  for tree in "$root" "$(cd "$build" && pwd)"; do
    if strings "$prefix/bin/sulkan" | grep -qF "$tree"; then
      fail "bin/sulkan contains the path $tree"
    fi
  done
fi

# Help and version without a display: the text on standard output, status 0.
for option in --help -h; do
  if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/sulkan" "$option" >"$tmp/help.log" 2>&1; then
    for mode in "sulkan check" "sulkan export" "sulkan print" "sulkan records" "--mode faithful|printer"; do
      grep -qF -- "$mode" "$tmp/help.log" || fail "sulkan $option does not describe $mode"
    done
  else
    fail "sulkan $option failed"
  fi
done
version=$(env -u DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/sulkan" --version) || fail "sulkan --version failed"
case $version in "Sulkan++ "[0-9]*) ;; *) fail "sulkan --version printed: $version" ;; esac
if command -v man >/dev/null; then
  # As lintian formats it: every groff warning counts.
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$prefix/share/man/man1/sulkan.1.gz" \
    >/dev/null 2>"$tmp/man.log" && [ ! -s "$tmp/man.log" ] ||
    { cat "$tmp/man.log" >&2; fail "the manual page does not format cleanly"; }
fi

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
