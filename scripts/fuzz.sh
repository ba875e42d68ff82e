#!/usr/bin/env bash
# Builds the libFuzzer targets with clang 14 in build-fuzz/ and runs each of them, two at a time.
#   fuzz.sh [SECONDS [TARGET ...]]   (default 60 seconds, every target; TARGET as in fuzz_codec)
# Corpora grow in build-fuzz/corpus/<target>/, logs go to build-fuzz/logs/, and an input that
# breaks a target is written to build-fuzz/findings/<target>/. Exits non-zero when any target
# found something.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
dir="$root/build-fuzz"
all_targets=(fuzz_codec fuzz_lines fuzz_profile fuzz_question_file fuzz_course_tree fuzz_worksheet
  fuzz_unit_edit fuzz_index_edit fuzz_practice)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

bash "$root/scripts/install-deps.sh"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSULKAN_FUZZ=ON -DSULKAN_BUILD_TESTS=OFF -DSULKAN_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j2 --target "${targets[@]}"

# Seeds: the sample course and the hand-made inputs of fuzz/seeds/<target>/. The question-file
# and worksheet targets take a first byte that picks the unit, so their samples get one.
samples="$root/samples/kanji"
seed() {  # seed TARGET PREFIX FILE...
  local target=$1 prefix=$2
  shift 2
  local corpus="$dir/corpus/$target" f
  mkdir -p "$corpus"
  for f in "$@"; do
    [ -f "$f" ] || continue
    { printf "$prefix"; cat "$f"; } >"$corpus/seed-$(basename "$(dirname "$f")")-$(basename "$f")"
  done
}
mapfile -t questions < <(find "$samples" -name '*.que' | sort)
mapfile -t indexes < <(find "$samples" -name '*.ind' | sort)
for t in "${all_targets[@]}"; do
  name=${t#fuzz_}
  seed "$name" '' "$root/fuzz/seeds/$name"/*
  # Past findings stay in the corpus, so a fault that comes back is found at once.
  seed "$name" '' "$root/fuzz/findings/$name"/*
done
seed codec '' "${questions[@]}" "${indexes[@]}"
seed lines '' "${questions[@]}" "${indexes[@]}"
seed course_tree '' "${indexes[@]}"
seed question_file '\000' "${questions[@]}"
seed question_file '\001' "${questions[@]}"
seed worksheet '\000' "${questions[@]}"
seed worksheet '\002' "${questions[@]}"
seed practice '\000' "${questions[@]}"
seed unit_edit '\000' "${questions[@]}"
seed unit_edit '\001' "${questions[@]}"
# The index editor's input: "Main.ind", NUL, a lesson index, NUL, a script of edits (add section
# "New", rename section 1 "S", add unit "U" to section 2, rename its unit 1 "R").
for f in "${indexes[@]}"; do
  [ "$(basename "$f")" = Main.ind ] && continue
  { cat "$samples/Main.ind"; printf '\000'; cat "$f"; printf '\000'
    printf '\000\000\000\003New\001\001\000\001S\002\002\000\001U\003\002\001\001R'
  } >"$dir/corpus/index_edit/seed-$(basename "$f")"
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$dir/logs"

run() {  # run TARGET: one target for the time given; its log says how it ended
  local target=$1 name=${1#fuzz_}
  local findings="$dir/findings/$name" extra=()
  mkdir -p "$findings"
  # The structural lines of question and copy files, so mutations build blocks sooner.
  case $name in
    question_file | worksheet | unit_edit | practice) extra+=("-dict=$root/fuzz/unit.dict") ;;
    index_edit) extra+=("-dict=$root/fuzz/index.dict") ;;
  esac
  "$dir/fuzz/$target" "$dir/corpus/$name" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "${extra[@]}" \
    >"$dir/logs/$name.log" 2>&1 || true
}

# Two at a time: the machine has two cores.
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
  echo "running $t for ${seconds}s" >&2
  run "$t" &
done
wait

status=0
printf '\n%-20s %14s  %s\n' target executions result
for t in "${targets[@]}"; do
  log="$dir/logs/${t#fuzz_}.log"
  execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || true)
  [ -n "$execs" ] || execs=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#' || true)
  finding=$(grep -o 'Test unit written to .*' "$log" | sed 's/Test unit written to //' | tail -1 || true)
  if [ -n "$finding" ]; then
    result="FOUND: $finding"
    status=1
  elif grep -q 'Done [0-9]* runs' "$log"; then
    result=ok
  else
    result="did not finish, see $log"
    status=1
  fi
  printf '%-20s %14s  %s\n' "$t" "${execs:-?}" "$result"
done
exit $status
