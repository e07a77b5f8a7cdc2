#!/usr/bin/env bash
# The first start installs and builds only what the program needs; the tests' tools and
# targets come with scripts/test.
set -euo pipefail
cd "$(dirname "$0")/../.."
program=$(VELKOR_SETUP_LIST=1 scripts/setup --program)
everything=$(VELKOR_SETUP_LIST=1 scripts/setup)
for p in qt6-base-dev g++ cmake librsvg2-bin; do
  grep -qx "$p" <<<"$program" || { echo "the program needs $p"; exit 1; }
done
for p in clang libgtest-dev libbenchmark-dev appstream libclang-rt-dev; do
  if grep -qx "$p" <<<"$program"; then echo "scripts/run installs $p"; exit 1; fi
  grep -qx "$p" <<<"$everything" || { echo "scripts/test misses $p"; exit 1; }
done
while read -r p; do
  grep -qx "$p" <<<"$everything" || { echo "scripts/test misses $p"; exit 1; }
done <<<"$program"

fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
[ "$(VELKOR_BUILD_DIR="$fresh" VELKOR_BUILD_LIST=1 scripts/build --program)" = \
  "tests=OFF --target velkor2tr velkor2tr-cli velkor-sim-d2xx velkor-sim-pty" ]
printf 'VELKOR_BUILD_TESTS:BOOL=ON\n' >"$fresh/CMakeCache.txt"
[ "$(VELKOR_BUILD_DIR="$fresh" VELKOR_BUILD_LIST=1 scripts/build --program)" = \
  "tests=ON --target velkor2tr velkor2tr-cli velkor-sim-d2xx velkor-sim-pty" ]
[ "$(VELKOR_BUILD_DIR="$fresh" VELKOR_BUILD_LIST=1 scripts/build)" = "tests=ON " ]
grep -qx 'scripts/setup --program' scripts/run
grep -qx 'scripts/build --program' scripts/run
