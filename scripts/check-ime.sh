#!/usr/bin/env bash
# Types Japanese into the program through a real input method (fcitx5 with mozc) under Xvfb and
# checks what arrives: an answer typed in romaji and converted in the drill is graded, and a
# question line typed in the question editor lands in the question file as Shift-JIS.
# Not part of the test run: it needs root or sudo for its packages and takes about a minute.
#   check-ime.sh [BUILD_DIR]   (default build/, already built; screenshots go to
#   $SULKAN_IME_SHOTS, default a temporary folder that is kept and named at the end)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
app=$build/app/sulkan
[ -x "$app" ] || { echo "check-ime: $app is not built" >&2; exit 2; }

# Its own packages, installed the way install-deps.sh installs the build's.
packages=(xvfb xauth xdotool imagemagick dbus fcitx5 fcitx5-mozc fcitx5-frontend-qt6 openbox
  python3 fonts-ipafont)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Mozc refuses to serve root, so as root the session runs as "nobody".
if [ -z "${SULKAN_IME_INNER:-}" ]; then
  tmp=$(mktemp -d)
  shots=${SULKAN_IME_SHOTS:-$tmp/shots}
  mkdir -p "$shots"
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
  xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
  as=()
  if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$tmp" "$shots"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  status=0
  "${as[@]}" env -i PATH=/usr/bin:/bin SULKAN_IME_INNER=1 SULKAN_IME_TMP="$tmp" \
    SULKAN_IME_SHOTS="$shots" DISPLAY=":$(cat "$tmp/display")" ROOT="$root" \
    dbus-run-session -- bash "$0" "$build" || status=$?
  echo "screenshots: $shots" >&2
  exit "$status"
fi

tmp=$SULKAN_IME_TMP
shots=$SULKAN_IME_SHOTS
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  # Mozc's server leaves its parent; it is ours when it carries this run's folder.
  for env in /proc/[0-9]*/environ; do
    if grep -qzx "SULKAN_IME_TMP=$tmp" "$env" 2>/dev/null; then
      p=${env#/proc/}
      p=${p%/environ}
      [ "$(cat "/proc/$p/comm" 2>/dev/null)" = mozc_server ] && kill "$p" 2>/dev/null || true
    fi
  done
}
trap cleanup EXIT
failures=0
fail() { echo "check-ime: $*" >&2; failures=$((failures + 1)); }
shot() { import -window root "$shots/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-1}"; }
keys() { xdotool key --delay 120 "$@"; sleep 0.6; }
# Waits for a window of that title; the coordinates below are those of a 1600x1200 screen.
window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" >/dev/null || fail "no window $1"; sleep 1; }

export HOME=$tmp/home LANG=C.UTF-8 QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
mkdir -p "$HOME/.config/fcitx5"
# Mozc as the only input method besides the US layout, switched on in every window.
cat >"$HOME/.config/fcitx5/profile" <<'EOF2'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
EOF2
printf '[Behavior]\nActiveByDefault=True\nShareInputState=All\n' >"$HOME/.config/fcitx5/config"
course=$tmp/course
cp -r "$ROOT/samples/kanji" "$course"
chmod -R u+w "$course"

openbox >"$tmp/openbox.log" 2>&1 &
pids+=($!)
fcitx5 >"$tmp/fcitx5.log" 2>&1 &
pids+=($!)
sleep 3
kill -0 "${pids[-1]}" 2>/dev/null || { cat "$tmp/fcitx5.log" >&2; fail "fcitx5 did not start"; exit 1; }
(cd "$course" && exec "$build/app/sulkan" "$course") >"$tmp/app.log" 2>&1 &
pids+=($!)

window "ご存じですか"
shot 01-start
click 910 656          # 閉じる
click 56 91 2          # 開く: unit selection
window "マスターファイルを開く"
click 340 105          # 書きの練習, its first unit
click 1550 1124 2      # OK
click 56 198 2         # 学習
click 56 84            # 練習
# 1. The answer typed in romaji, converted and committed: the first Enter only commits.
keys b e n k y o u
shot 02-drill-preedit
keys space
shot 03-drill-converted
keys Return
shot 04-drill-committed
keys Return
shot 05-drill-graded
click 922 516          # 中止
# A test graded while the second answer is still being composed: both answers count.
click 56 258           # テスト
keys b e n k y o u space Return Return
keys s h u k u d a i space
shot 06-test-composing
click 846 486 2        # 採点
shot 07-test-graded
record=$(find "$course/kan3" -name '*.ini' | head -1)
if [ -z "$record" ]; then
  fail "the graded test wrote no record"
elif ! grep -aq ' OOxxxxxxxx ' "$record"; then
  fail "the record does not hold two right answers: $(tail -1 "$record" | iconv -f CP932 -t UTF-8)"
fi
xdotool key Return     # the end-of-test message
sleep 1
click 56 516           # 閉じる
# 2. A question line typed in the question editor; "#" is typed with the input method off
# (Ctrl+Space), as a teacher does, since Mozc types the full-width "＃" that marks nothing.
click 56 172 3         # 編集
window "マスターファイルの編集"
click 600 272 0.5      # the last question line
keys End Return parenleft 1 1 parenright t a k a i Return
keys ctrl+space numbersign ctrl+space y a m a space Return
keys ctrl+space numbersign ctrl+space n i n o b o r u Return
shot 08-editor-typed
click 1462 1170 3      # OK
shot 09-editor-saved
python3 - "$course/kan3/kan32.que" <<'EOF2' || fail "the question file does not hold the typed line"
import sys
data = open(sys.argv[1], "rb").read()
line = "（１１）たかい#山#にのぼる".encode("cp932") + b"\r\n"
sys.exit(0 if line in data and data.count(b"\n") == data.count(b"\r\n") else 1)
EOF2

[ "$failures" -eq 0 ] && echo "check-ime: all passed" >&2
exit "$failures"
