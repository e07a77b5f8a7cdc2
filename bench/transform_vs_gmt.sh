#!/usr/bin/env bash
# Our first vertical derivative of a 2000 x 2000 grid beside GMT's `grdfft -D` on the same
# grid (the benchmark case BM_Transform_2000's values, made by grdmath), CPU time each, the
# median of REPETITIONS runs, and "RATIO transform_vs_gmt_grdfft <ours / GMT's>". GMT's
# time includes reading and writing its grid files, ours does not: the figure favours us
# by that much. Needs GMT (Debian gmt); builds Release in build-bench/ like scripts/bench.
# Usage: bench/transform_vs_gmt.sh [repetitions]
set -euo pipefail
cd "$(dirname "$0")/.."
command -v gmt >/dev/null || { echo "GMT is not installed (Debian package gmt)" >&2; exit 1; }
reps="${1:-5}"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j2 --target velkor_core_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ours=$(build-bench/bench/velkor_core_bench --benchmark_filter=BM_Transform_2000 \
  --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
  --benchmark_format=json | python3 -c '
import json, sys
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("aggregate_name") == "median":
        print(b["cpu_time"] / 1000.0)')
gmt grdmath -R0/499.75/0/499.75 -I0.25 X 9.25 DIV SIN Y 13.25 DIV COS MUL 40 MUL = "$work/in.nc"
times=()
for _ in $(seq "$reps"); do
  times+=("$( { /usr/bin/time -f '%U %S' gmt grdfft "$work/in.nc" -D -G"$work/dz.nc"; } 2>&1 |
    awk '{ print $1 + $2 }')")
done
theirs=$(printf '%s\n' "${times[@]}" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
echo "ours ${ours} s, GMT grdfft -D ${theirs} s (CPU, median of ${reps})"
python3 -c "print('RATIO transform_vs_gmt_grdfft %.3f' % (${ours} / ${theirs}))"
