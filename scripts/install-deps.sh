#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Sulkan++, when any is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont fonts-ipaexfont fonts-kouzan-mouhitsu
  xvfb xauth xdotool imagemagick poppler-utils
  clang-format python3
  clang-14 libclang-rt-14-dev
  libcups2-dev cups cups-bsd cups-client printer-driver-cups-pdf
  libzinnia-dev tegaki-zinnia-japanese fonts-kanjistrokeorders kanjidic
  qt6-charts-dev libqt6opengl6-dev
  qt6-translations-l10n desktop-file-utils appstream ccache
  librsvg2-bin dpkg-dev file
  libxlsxwriter-dev unzip
  fonts-klee shared-mime-info binutils man-db
  at-spi2-core python3-pyatspi lintian strace openbox
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi

echo "installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
