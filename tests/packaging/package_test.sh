#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root and checks what a desktop
# needs of it: the files in their freedesktop places, the computed dependencies, and
# the desktop file and metainfo passing their validators.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1
id=org.velkor2tr.Velkor2tr
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/*.deb)
[ "${#debs[@]}" -eq 1 ] || fail "expected one package, got ${debs[*]}"
deb=${debs[0]}

depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-liberation libc6 libqt6widgets6 libqt6printsupport6; do
  grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
share="$root/usr/share"
for f in usr/bin/velkor2tr usr/bin/velkor2tr-cli; do
  [ -x "$root/$f" ] || fail "missing program $f"
done
for f in usr/lib/velkor2tr/libvelkor-sim-d2xx.so \
         "usr/share/applications/$id.desktop" \
         "usr/share/mime/packages/$id.xml" \
         "usr/share/metainfo/$id.metainfo.xml" \
         "usr/share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -f "$root/$f" ] || fail "missing $f"
done

# Each PNG is the size its folder says (width and height from the PNG header).
for size in 16 22 24 32 48 64 128 256; do
  png="$share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$png" ] || fail "missing icon ${size}x${size}"
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
  height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
  [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] ||
    fail "icon ${size}x${size} is ${width}x${height}"
done

desktop="$share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
grep -qx "Icon=$id" "$desktop" || fail "the desktop file names another icon"
grep -qx "MimeType=application/x-velkor2tr;" "$desktop" || fail "MimeType"
grep -qx "Exec=velkor2tr --print %f" "$desktop" || fail "the Print action"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
  "$share/metainfo/$id.metainfo.xml" || fail "the metainfo launches another desktop file"

# The MIME database built from the package knows *.velkor.
cp -r "$share/mime" "$work/mime"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -q "application/x-velkor2tr:\*\.velkor" "$work/mime/globs2" || fail "no glob for *.velkor"

# The unpacked programs run and answer.
"$root/usr/bin/velkor2tr" --version | grep -q '^Velkor2tr ' || fail "velkor2tr --version"
"$root/usr/bin/velkor2tr-cli" info "$(dirname "$0")/../fixtures/small.velkor" >/dev/null ||
  fail "velkor2tr-cli"
echo "package: passed ($(basename "$deb"))"
