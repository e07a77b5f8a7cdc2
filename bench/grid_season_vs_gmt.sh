#!/usr/bin/env bash
# A season's survey (1,000,000 readings, 2 km square) gridded by ours and by GMT's surface,
# each in a process of its own, back to back: peak memory (maximum resident set) and the
# whole process's CPU time (user + system: a shared machine's wall time is its load) from
# /usr/bin/time -v, medians of the repetitions, the agreement near the readings,
# and the "RATIO" lines (ours / GMT's): grid_memory_vs_gmt (4.2 M nodes),
# grid_memory_55k_vs_gmt, grid_1m_4m_nodes_vs_gmt (time) and grid_1m_55k_nodes_vs_gmt.
# Needs GMT (Debian gmt) and GNU time; builds Release in build-bench/ like scripts/bench.
# VELKOR_GRID_TOOL names another build of velkor_grid_vs_gmt to measure (an older one, for
# a before and after) instead of building.
# Usage: bench/grid_season_vs_gmt.sh [repetitions, default 3]
set -euo pipefail
cd "$(dirname "$0")/.."
command -v gmt >/dev/null || { echo "GMT is not installed (Debian package gmt)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time is not installed (Debian package time)" >&2; exit 1; }
tool=${VELKOR_GRID_TOOL:-build-bench/bench/velkor_grid_vs_gmt}
if [ -z "${VELKOR_GRID_TOOL:-}" ]; then
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build-bench -j2 --target velkor_grid_vs_gmt >/dev/null
fi
reps=${1:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" survey "$work/season.xyz"

# Peak kB and CPU seconds of one command, from GNU time's report.
measure() {
  /usr/bin/time -v -o "$work/time.txt" "$@" >"$work/out.txt" 2>"$work/err.txt"
  awk -F': ' '/Maximum resident set size/ { kb = $2 } /User time|System time/ { cpu += $2 }
    END { print kb, cpu }' "$work/time.txt"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run_case() {
  local name=$1 cell=$2
  local region
  "$tool" grid "$work/season.xyz" "$cell" "$work/ours.bin" >"$work/levels.txt"
  region=$(awk '/^region/ {print $2}' "$work/levels.txt")
  : >"$work/ours.m"
  : >"$work/gmt.m"
  for _ in $(seq "$reps"); do
    measure "$tool" grid "$work/season.xyz" "$cell" "$work/ours.bin" >>"$work/ours.m"
    measure gmt surface "$work/season.xyz" -G"$work/gmt.nc" -R"$region" -I"$cell" -T0.25 -rg \
      -Vw >>"$work/gmt.m"
  done
  gmt grd2xyz "$work/gmt.nc" >"$work/gmt.xyz"
  local om ot gm gt
  om=$(awk '{print $1}' "$work/ours.m" | median)
  ot=$(awk '{print $2}' "$work/ours.m" | median)
  gm=$(awk '{print $1}' "$work/gmt.m" | median)
  gt=$(awk '{print $2}' "$work/gmt.m" | median)
  echo "$name: 1,000,000 readings, cell $cell m, $(awk '/^region/ {print $4}' "$work/levels.txt") nodes"
  sed 's/^/  /' "$work/levels.txt" | grep level
  echo "  $("$tool" compare "$work/ours.bin" "$work/gmt.xyz" "$work/season.xyz" "$cell")"
  echo "  peak memory: ours $((om / 1024)) MB, gmt surface $((gm / 1024)) MB (medians of $reps)"
  echo "  CPU time: ours $ot s, gmt surface $gt s (medians of $reps)"
  MEM_RATIO=$(awk -v a="$om" -v b="$gm" 'BEGIN { printf "%.2f", a / b }')
  TIME_RATIO=$(awk -v a="$ot" -v b="$gt" 'BEGIN { printf "%.2f", a / b }')
}

run_case "4.2 M nodes" 0.97
big_mem=$MEM_RATIO
big_time=$TIME_RATIO
run_case "55 k nodes" 8.5
echo "RATIO grid_memory_vs_gmt $big_mem"
echo "RATIO grid_memory_55k_vs_gmt $MEM_RATIO"
echo "RATIO grid_1m_4m_nodes_vs_gmt $big_time"
echo "RATIO grid_1m_55k_nodes_vs_gmt $TIME_RATIO"
