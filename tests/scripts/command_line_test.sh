#!/usr/bin/env bash
# The program's command line from outside: --help and --version without a display,
# a usage error, and a second start handing its file to the running window.
# Usage: command_line_test.sh PROGRAM FIXTURE
set -euo pipefail
program=$(realpath "$1")
fixture=$(realpath "$2")
work=$(mktemp -d)
first=""
cleanup() {
  if [ -n "$first" ]; then kill "$first" 2>/dev/null || true; wait "$first" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# No window system at all: the answers come before one is needed.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" --help)
grep -q '^Usage: velkor2tr \[options\] \[FILE\]' <<<"$help" || fail "help: $help"
grep -q -- '--print' <<<"$help" || fail "help names no --print"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" --version)
[[ "$version" =~ ^Velkor2tr\ [0-9]+\.[0-9]+ ]] || fail "version: $version"

export QT_QPA_PLATFORM=offscreen
status=0
"$program" --colour 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "unknown option gave status $status"
grep -q "colour" "$work/err" || fail "usage error: $(cat "$work/err")"

# One user, one display of our own: a private runtime folder and settings.
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" HOME="$work"
export DISPLAY=":velkor-hand-over" WAYLAND_DISPLAY=""
mkdir -m 700 "$XDG_RUNTIME_DIR"
cp "$fixture" "$work/a.velkor"
cp "$fixture" "$work/b.velkor"
socket="$XDG_RUNTIME_DIR/velkor2tr-$(id -u)-_velkor-hand-over"
settings="$XDG_CONFIG_HOME/Local AppWizard-Generated Applications/Velkor2tr.conf"

# A run that crashes leaves its socket behind; it is in the way of nothing.
"$program" &
crashed=$!
for _ in $(seq 100); do
  [ -S "$socket" ] && break
  sleep 0.2
done
[ -S "$socket" ] || fail "the program does not serve on $socket"
kill -KILL "$crashed"
wait "$crashed" 2>/dev/null || true
[ -S "$socket" ] || fail "no socket left behind to test with"

(cd / && exec "$program" "$work/a.velkor") &
first=$!
for _ in $(seq 100); do
  if grep -qs "a.velkor" "$settings" && [ -S "$socket" ]; then break; fi
  sleep 0.2
done
grep -qs "File1=.*a.velkor" "$settings" || fail "the first start did not open its file"

# Named from the second start's own folder, which is not the running window's.
status=0
(cd "$work" && timeout 20 "$program" b.velkor) || status=$?
[ "$status" -eq 0 ] || fail "the second start ended with $status"
for _ in $(seq 100); do
  if grep -qs "File1=.*b.velkor" "$settings"; then break; fi
  sleep 0.2
done
grep -qs "File1=.*b.velkor" "$settings" || fail "the running window did not open the file: $(cat "$settings")"
kill -0 "$first" || fail "the running window ended"
echo "command line: passed"
