#!/usr/bin/env bash
# Opens what "sulkan records" writes in a real spreadsheet program and checks the cells: a small
# course with records is made in a temporary folder, exported with --xlsx and --out, and both files
# are converted by LibreOffice without a window into CSV with every text cell quoted, so that text
# and numbers can be told apart. "0123" and "=1+1" must come back as text, the counts as numbers,
# the date and time as date and time cells.
# Not part of the test run: it installs libreoffice-calc when missing (root or sudo) and takes
# about half a minute.
#   check-xlsx.sh [BUILD_DIR]   (default build/, already built; SULKAN_XLSX_KEEP=1 keeps the folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
app=$build/app/sulkan
[ -x "$app" ] || { echo "check-xlsx: $app is not built" >&2; exit 2; }

missing=()
command -v soffice >/dev/null || missing+=(libreoffice-calc)
command -v iconv >/dev/null || missing+=(libc-bin)
if [ ${#missing[@]} -gt 0 ]; then
  [ -r /etc/debian_version ] || { echo "check-xlsx: needs ${missing[*]} (Debian only)" >&2; exit 2; }
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

tmp=$(mktemp -d)
if [ -z "${SULKAN_XLSX_KEEP:-}" ]; then
  trap 'rm -rf "$tmp"' EXIT
else
  echo "files: $tmp" >&2
fi

# Courseware is CP932 with CR LF.
sjis() { # FILE LINE...
  local file=$1
  shift
  mkdir -p "$(dirname "$file")"
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932 >"$file"
}
course=$tmp/course
sjis "$course/Main.ind" "漢字のコース" "メモ" "三年の漢字,kan3\\_k3" ">>"
# A title longer than one string literal of a spreadsheet formula holds (255 characters).
long="-$(printf '字%.0s' $(seq 299))"
sjis "$course/kan3/k3.ind" "三年" "[[sect1" "読み" "<<" "=1+1" "旅行" "$long" ">>" "]]"
sjis "$course/kan3/0123.ini" "[S11=1+1]" "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23"
sjis "$course/kan3/山田.ini" "[S12旅行]" "1=類題2)2003年10月17日 09:30 OO  2/ 2 100点 00:40" \
  "[S13$long]" "1=2003年10月18日 08:00 x  0/ 1   0点 00:05"

# Its own settings and records folder, so the user's are neither read nor changed.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config
mkdir -p "$XDG_CONFIG_HOME"
status=0
"$app" records --course "$course" --lesson 1 --out "$tmp/records.csv" --xlsx "$tmp/records.xlsx" ||
  status=$?
[ "$status" -eq 0 ] || { echo "check-xlsx: sulkan records exited $status" >&2; exit 1; }

# Separator, quote, UTF-8, start line, no column formats, en-US, ... quote every text cell.
export_filter='Text - txt - csv (StarCalc):44,34,76,1,,1033,true,true'
soffice_convert() { # INPUT OUTDIR [INFILTER]
  local args=(--headless --norestore "-env:UserInstallation=file://$tmp/lo-profile")
  [ $# -lt 3 ] || args+=("--infilter=$3")
  mkdir -p "$2"
  soffice "${args[@]}" --convert-to "csv:$export_filter" --outdir "$2" "$1" >"$tmp/soffice.log" 2>&1 ||
    { cat "$tmp/soffice.log" >&2; return 1; }
}

fail=0
expect() { # FILE ROW LABEL (ROW an extended regular expression for the whole row)
  # Rows are compared as LibreOffice writes them, CR LF or LF.
  if tr -d '\r' <"$1" | grep -qxE -- "$2"; then
    echo "ok   $3"
  else
    echo "FAIL $3: no row" >&2
    echo "       $2" >&2
    echo "     in $1:" >&2
    sed 's/^/       /' "$1" >&2
    fail=1
  fi
}

soffice_convert "$tmp/records.xlsx" "$tmp/from-xlsx"
xlsx_csv=$tmp/from-xlsx/records.csv
expect "$xlsx_csv" \
  '"learner","lesson","section","unit","similar","title","run","date","time","marks","correct","total","score","seconds"' \
  "xlsx: header"
expect "$xlsx_csv" '"0123",1,1,1,0,"=1\+1",1,2003-10-15,14:05,"OxOO",3,4,75,83' \
  "xlsx: 0123 and =1+1 are text, counts are numbers, date and time are typed"
expect "$xlsx_csv" '"山田",1,1,2,2,"旅行",1,2003-10-17,09:30,"OO",2,2,100,40' \
  "xlsx: kanji text, the similar problem number"
expect "$xlsx_csv" '"山田",1,1,3,0,"'"$long"'",1,2003-10-18,08:00,"x",0,1,0,5' "xlsx: a 300-character title"

# The CSV as a spreadsheet that evaluates formulas on import opens it (the text formulas give the
# text back), dates and times detected: sep, quote, UTF-8, line 1, no formats, en-US, quoted
# fields not forced to text, detect special numbers, ..., evaluate formulas. The time is a time
# cell, shown in the language's form (02:05:00 PM).
soffice_convert "$tmp/records.csv" "$tmp/from-csv" 'CSV:44,34,76,1,,1033,false,true,,,,,true'
csv_csv=$tmp/from-csv/records.csv
expect "$csv_csv" '"0123",1,1,1,0,"=1\+1",1,2003-10-15,02:05:00 PM,"OxOO",3,4,75,83' \
  "csv, formulas evaluated: 0123 and =1+1 stay text, numbers, date and time are typed"
expect "$csv_csv" '"山田",1,1,2,2,"旅行",1,2003-10-17,09:30:00 AM,"OO",2,2,100,40' \
  "csv, formulas evaluated: kanji text, the similar problem number"
expect "$csv_csv" '"山田",1,1,3,0,"'"$long"'",1,2003-10-18,08:00:00 AM,"x",0,1,0,5' \
  "csv, formulas evaluated: a 300-character title joined whole from its pieces"

# Formulas not evaluated: the text formulas show as written, as text; no cell turns into a
# number or runs.
soffice_convert "$tmp/records.csv" "$tmp/from-csv-plain" 'CSV:44,34,76,1,,1033,false,true,,,,,false'
plain_csv=$tmp/from-csv-plain/records.csv
expect "$plain_csv" '"=""0123""",1,1,1,0,"=""=1\+1""",1,2003-10-15,02:05:00 PM,"OxOO",3,4,75,83' \
  "csv, formulas not evaluated: the text formulas stay visible text"

if [ "$fail" -ne 0 ]; then
  echo "check-xlsx: FAILED" >&2
  exit 1
fi
echo "check-xlsx: all cells read back as written"
