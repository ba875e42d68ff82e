#!/usr/bin/env bash
# Builds the benchmark programs (Release) and runs each of them, then prints every benchmark's
# median and, in a program that has a baseline (a benchmark named BM_Baseline...), its ratio to
# that baseline measured in the same run.
#   bench.sh [-b BUILD_DIR] [-r REPETITIONS] [-f FILTER] [PROGRAM ...]
#     -b  build folder (default build-bench/, configured Release here when it is new)
#     -r  repetitions of each benchmark (default 5); the median of them is shown
#     -f  regular expression of the benchmarks to run (the baselines always run with them)
#     PROGRAM  names of programs in bench/ (sheet_bench, drill_bench, ...); default all of them
# Wall-clock and CPU medians are both shown: on a machine shared with other work the CPU time
# is the steadier of the two. Repetitions are interleaved at random, so that a burst of load
# elsewhere does not fall on one benchmark alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-bench
reps=5
filter=
while getopts "b:r:f:h" opt; do
  case $opt in
    b) dir=$OPTARG ;;
    r) reps=$OPTARG ;;
    f) filter=$OPTARG ;;
    *) sed -n '2,13p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

mapfile -t all < <(sed -n 's/^add_executable(\([a-z_]*_bench\) .*/\1/p' "$root/bench/CMakeLists.txt")
programs=("$@")
[ ${#programs[@]} -eq 0 ] && programs=("${all[@]}")
for p in "${programs[@]}"; do
  if ! printf '%s\n' "${all[@]}" | grep -qx "$p"; then
    echo "bench.sh: no benchmark program $p (there are: ${all[*]})" >&2
    exit 2
  fi
done

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
if [ ! -f "$dir/CMakeCache.txt" ]; then
  bash "$root/scripts/install-deps.sh"
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
fi
if [ "$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$dir/CMakeCache.txt")" != Release ]; then
  echo "bench.sh: $dir is not a Release build" >&2
  exit 2
fi
cmake --build "$dir" -j"$(nproc)" --target "${programs[@]}" >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# The sources the build folder was configured from, which may be another work tree.
src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$dir/CMakeCache.txt")
echo "commit $(git -C "$src" rev-parse --short HEAD)$(git -C "$src" diff --quiet HEAD -- . 2>/dev/null || echo ' (with changes)') ($src), load $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
for p in "${programs[@]}"; do
  args=(--benchmark_repetitions="$reps" --benchmark_enable_random_interleaving=true
        --benchmark_out="$out/$p.json" --benchmark_out_format=json)
  [ -n "$filter" ] && args+=(--benchmark_filter="BM_Baseline|$filter")
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$dir/bench/$p" "${args[@]}" >"$out/$p.log" 2>&1 || {
    cat "$out/$p.log" >&2
    echo "bench.sh: $p failed" >&2
    exit 1
  }
  python3 - "$p" "$out/$p.json" <<'EOF'
import json, sys
program, path = sys.argv[1], sys.argv[2]
rows = [b for b in json.load(open(path))["benchmarks"] if b.get("aggregate_name") == "median"]
if not rows:
    print(f"\n{program}: no benchmark ran")
    sys.exit(0)
def ms(b, key):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b.get("time_unit", "ns")]
    return b[key] * scale
base = next((b for b in rows if b["run_name"].startswith("BM_Baseline")), None)
print(f"\n{program}" + (f" (ratios to {base['run_name']})" if base else " (no baseline)"))
head = f"  {'benchmark':<40} {'real ms':>9} {'cpu ms':>9}"
print(head + (f" {'real ×':>7} {'cpu ×':>7}" if base else ""))
for b in rows:
    line = f"  {b['run_name']:<40} {ms(b, 'real_time'):>9.3f} {ms(b, 'cpu_time'):>9.3f}"
    if base:
        real = ms(b, "real_time") / ms(base, "real_time")
        cpu = ms(b, "cpu_time") / ms(base, "cpu_time")
        line += f" {real:>7.2f} {cpu:>7.2f}"
    print(line)
EOF
done
