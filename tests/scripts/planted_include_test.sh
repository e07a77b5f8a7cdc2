#!/usr/bin/env bash
# Plants includes that break the floors into a scratch copy of the sources and checks that
# the build refuses each one, while the same files as they are compile.
# Usage: planted_include_test.sh SOURCE_DIR
set -euo pipefail
src="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/src"
tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$scratch/src" -xf -
cmake -S "$scratch/src" -B "$scratch/build" -G Ninja -DVELKOR_BUILD_UI=OFF \
  -DVELKOR_BUILD_TESTS=OFF >"$scratch/configure.log" 2>&1 || {
  cat "$scratch/configure.log"
  exit 1
}

object() {  # folder file.cpp -> its object in the build tree
  echo "$1/CMakeFiles/velkor_${1//\//_}.dir/$2.o"
}

# Each plant: the file, the include put at its top, what kind of break it is.
plants=(
  "data DataSet.cpp \"survey/Survey.h\" up three floors"
  "core FileDescriptor.cpp \"data/DataSet.h\" up one floor"
  "survey FlagList.cpp \"pictures/PlanMap.h\" up one floor"
  "serial LineMode.cpp \"export/ExportFile.h\" sideways where no row allows it"
  "gridding Plane.cpp <geo/CoordinateSystem.h> sideways, in angle brackets"
)

objects=()
for plant in "${plants[@]}"; do
  read -r folder file _ <<<"$plant"
  objects+=("$(object "$folder" "$file")")
done
if ! ninja -C "$scratch/build" "${objects[@]}" >"$scratch/clean.log" 2>&1; then
  cat "$scratch/clean.log"
  echo "FAIL: the files as they are do not compile"
  exit 1
fi

failures=0
for plant in "${plants[@]}"; do
  read -r folder file include what <<<"$plant"
  path="$scratch/src/$folder/$file"
  cp "$path" "$path.orig"
  { echo "#include $include"; cat "$path.orig"; } >"$path"
  header="${include:1:${#include}-2}"
  if ninja -C "$scratch/build" "$(object "$folder" "$file")" >"$scratch/planted.log" 2>&1; then
    echo "FAIL: $folder/$file compiled with #include $include ($what)"
    failures=$((failures + 1))
  elif ! grep -q "$header: No such file" "$scratch/planted.log"; then
    cat "$scratch/planted.log"
    echo "FAIL: $folder/$file failed, but not for want of $header"
    failures=$((failures + 1))
  else
    echo "refused: $folder/$file including $header ($what)"
  fi
  mv "$path.orig" "$path"
done
exit "$failures"
