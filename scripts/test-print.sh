#!/usr/bin/env bash
# Prints through a private CUPS daemon of its own: its own configuration folder, a port on
# 127.0.0.1, a cups-pdf queue writing into a temporary folder. Checks that "sulkan print" ends as
# PDF files of the right paper under the right job names, that a refusing or missing printer
# gives status 1 with its message, and that a stopped queue holds the job.
#   test-print.sh [BUILD_DIR]      SULKAN_PRINT_KEEP=DIR keeps the printed pages as PNG images
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sulkan=${1:-$root/build}/app/sulkan

skip() { echo "test-print: skipped: $*"; exit 0; }
command -v cupsd >/dev/null || skip "cupsd is not installed"
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "printer-driver-cups-pdf is not installed"
[ "$(id -u)" -eq 0 ] || skip "cups-pdf runs only under a daemon started as root"
# cups-pdf reads its configuration from /etc/cups alone; a private mount namespace gives the
# daemon our configuration there without touching the system's.
unshare -m true 2>/dev/null || skip "no mount namespace (unshare -m) for cups-pdf's configuration"
[ -x "$sulkan" ] || { echo "test-print: $sulkan is not built" >&2; exit 1; }

tmp=$(mktemp -d /tmp/sulkan-print.XXXXXX)
chmod 755 "$tmp"  # the daemon's filters run as lp and read the queues' PPD files from here
daemon=
cleanup() {
    if [ -n "$daemon" ]; then
        kill "$daemon" 2>/dev/null || true
        wait "$daemon" 2>/dev/null || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'echo "test-print: line $LINENO failed" >&2' ERR
trap 'exit 130' INT TERM

failures=0
fail() { echo "test-print: FAIL: $*" >&2; failures=$((failures + 1)); }
ok() { echo "test-print: ok: $*"; }

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$tmp"/{etc/ppd,spool/tmp,cache,state,log,out,config}
cat >"$tmp/etc/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
PageLogFormat %j|%{job-name}|%{media}|%P
<Location />
  Order allow,deny
  Allow from 127.0.0.1
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$tmp/etc/cups-files.conf" <<CONF
ServerRoot $tmp/etc
RequestRoot $tmp/spool
TempDir $tmp/spool/tmp
CacheDir $tmp/cache
StateDir $tmp/state
AccessLog $tmp/log/access_log
ErrorLog $tmp/log/error_log
PageLog $tmp/log/page_log
Printcap $tmp/state/printcap
ServerBin /usr/lib/cups
DataDir /usr/share/cups
SystemGroup root
CONF
cat >"$tmp/cups-pdf.conf" <<CONF
Out $tmp/out
AnonDirName $tmp/out
Spool $tmp/spool/cups-pdf
Log $tmp/log
CONF

unshare -m sh -c 'mount --bind "$1" /etc/cups/cups-pdf.conf && exec cupsd -f -c "$2" -s "$3"' \
    sh "$tmp/cups-pdf.conf" "$tmp/etc/cupsd.conf" "$tmp/etc/cups-files.conf" \
    >"$tmp/log/cupsd.out" 2>&1 &
daemon=$!

export CUPS_SERVER=127.0.0.1:$port IPP_PORT=$port XDG_CONFIG_HOME=$tmp/config
unset PRINTER LPDEST
# lpstat -r succeeds either way; only its words tell.
running() { [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; }
for _ in $(seq 100); do
    running && break
    sleep 0.1
done
running || { cat "$tmp/log/cupsd.out" >&2; echo "test-print: cupsd did not start" >&2; exit 1; }

ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
for queue in sulkanpdf refusing stopped; do
    lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" 2>&1 | { grep -v 'drivers are deprecated' || true; }
done
lpadmin -d sulkanpdf
cupsreject -r "用紙切れ" refusing
cupsdisable stopped

# A course of one section: unit 1 on A4, unit 2 on A3.
course=$tmp/course
mkdir -p "$course/kan3"
sjis() { sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$1"; }
printf '%s\n' 'コース' '' '三年の漢字,kan3\_kan3' '>>' | sjis "$course/Main.ind"
printf '%s\n' '三年' '[[sect1' '読み' '<<' '山と川' '大きな紙' '>>' ']]' | sjis "$course/kan3/kan3.ind"
unit() {
    printf '%s\n' "[[unit$1" '<<ques' '（１）#やま#に登る' '（２）#かわ;せん#で遊ぶ' '>>' \
        '<<value' "$2" False 40 5 5 1 7 '>>' \
        '<<font' 12 'MS 明朝' False False False False 0 '>>' \
        '<<kran' 1 15 2 0 0 0 15 10 0 0 '>>' ']]'
}
{ unit 1 630; unit 2 891; } | sjis "$course/kan3/kan31.que"

run() { # expected status, then the arguments of "sulkan print"
    local want=$1
    shift
    set +e
    "$sulkan" print --course "$course" "$@" >"$tmp/stdout" 2>"$tmp/stderr"
    status=$?
    set -e
    said=$(grep -v '^QStandardPaths:' "$tmp/stderr" || true)
    [ "$status" -eq "$want" ] || fail "print $* gave status $status, not $want: $said"
}

started=$(date +%s)
run 0 --unit 1-1-1
run 0 --unit 1-1-2 --printer sulkanpdf --numbered --start 5 --copies 2 --mode printer
run 1 --unit 1-1-1 --printer refusing
case $said in *refusing*受け付けていません*用紙切れ*) ok "a refusing queue: $said" ;;
    *) fail "a refusing queue said: $said" ;; esac
run 1 --unit 1-1-1 --printer nosuch
case $said in *nosuch*見つかりません*) ok "a missing printer: $said" ;;
    *) fail "a missing printer said: $said" ;; esac
run 0 --unit 1-1-1 --printer stopped
case $said in *stopped*停止中*) ok "a stopped queue: $said" ;;
    *) fail "a stopped queue said: $said" ;; esac
lpstat -o stopped | grep -q '^stopped-' || fail "the stopped queue holds no job"

# Three jobs on the working queue, each a PDF of its paper under its job name.
for _ in $(seq 200); do
    [ "$(find "$tmp/out" -name '*.pdf' | wc -l)" -ge 3 ] && [ -z "$(lpstat -o sulkanpdf)" ] && break
    sleep 0.1
done
check_job() { # job id, job name, paper in points, media
    local id=$1 name=$2 size=$3 before=$failures file
    grep -qxF "$id|$name|${4}|total" "$tmp/log/page_log" ||
        fail "job $id is not logged as '$name' on $4: $(cat "$tmp/log/page_log")"
    file=$(find "$tmp/out" -name "*job_$id.pdf" | head -1)
    if [ -z "$file" ]; then
        fail "job $id wrote no PDF"
        return
    fi
    pdfinfo "$file" | grep -q "^Page size: *$size pts" ||
        fail "job $id: $(pdfinfo "$file" | grep '^Page size')"
    [ "$(pdfinfo "$file" | sed -n 's/^Pages: *//p')" = 1 ] || fail "job $id is not one page"
    [ "$failures" -eq "$before" ] || return 0
    if [ -n "${SULKAN_PRINT_KEEP:-}" ]; then
        mkdir -p "$SULKAN_PRINT_KEEP"
        pdftoppm -r 50 -png "$file" "$SULKAN_PRINT_KEEP/job$id" 2>/dev/null
    fi
    ok "job $id '$name' on $4"
}
# A sheet's title is lesson//section§lesson-section unit, as the worksheet window composes it.
check_job 1 "三年の漢字//読み§1-1 山と川 問題" "595 x 842" iso_a4_210x297mm
check_job 2 "三年の漢字//読み§1-2 大きな紙 問題 № 5" "842 x 1191" iso_a3_297x420mm
check_job 3 "三年の漢字//読み§1-2 大きな紙 問題 № 6" "842 x 1191" iso_a3_297x420mm
echo "test-print: $(($(date +%s) - started)) s"
[ "$failures" -eq 0 ]
