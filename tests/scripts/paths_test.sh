#!/usr/bin/env bash
# The run and demo scripts change folder first; file arguments must still name
# the files the caller sees.
set -euo pipefail
source "$(cd "$(dirname "$0")/../../scripts" && pwd)/paths.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
absolute_args "day one.velkor" --print sub/s3.velkor /abs/x.velkor
expected=("$work/day one.velkor" --print "$work/sub/s3.velkor" /abs/x.velkor)
if [ "${resolved_args[*]}" != "${expected[*]}" ] || [ "${#resolved_args[@]}" -ne 4 ]; then
  printf 'got: %s\n' "${resolved_args[@]}"
  exit 1
fi
absolute_args
[ "${#resolved_args[@]}" -eq 0 ]
