#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it with lintian: exit status 1 when
# lintian reports an error or a warning. Informational tags are listed, not counted.
#   check-package.sh [CMAKE_OPTION ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/package.sh" "$@" >/dev/null
deb=$(ls "$root"/build-package/*.deb | head -1)
report=$(lintian --info --pedantic "$deb" 2>/dev/null || true)
[ -n "$report" ] && echo "$report"
bad=$(grep -cE '^[EW]: ' <<<"$report" || true)
echo "check-package: $(basename "$deb"): $bad errors or warnings"
[ "$bad" -eq 0 ]
