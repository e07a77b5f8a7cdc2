#!/usr/bin/env bash
# Grids generated surveys with ours and with GMT's surface (same readings, extent, cell and
# tension) and prints the agreement, our misfit and the times, with "RATIO" lines.
# Needs GMT (Debian gmt); builds Release in build-bench/ like scripts/bench.
# Usage: bench/grid_vs_gmt.sh [repetitions] [case: regular|irregular_gap|large]
set -euo pipefail
cd "$(dirname "$0")/.."
command -v gmt >/dev/null || { echo "GMT is not installed (Debian package gmt)" >&2; exit 1; }
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j2 --target velkor_grid_vs_gmt >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build-bench/bench/velkor_grid_vs_gmt gmt "$work" "${1:-3}" "${2:-}"
