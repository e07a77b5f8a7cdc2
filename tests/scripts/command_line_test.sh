#!/usr/bin/env bash
# The program's command line from outside: --help and --version without a display,
# a usage error, a second start handing its file to the running window, the socket's
# private folder, starts at the same moment, and runs ended by SIGTERM.
# Usage: command_line_test.sh PROGRAM FIXTURE
set -euo pipefail
program=$(realpath "$1")
fixture=$(realpath "$2")
work=$(mktemp -d)
first=""
alone=""
run=""
holder=""
pids=()
cleanup() {
  for pid in $first $alone $run $holder "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
# A child that has ended but was not waited for yet is not running.
alive() { [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" != Z ] && kill -0 "$1" 2>/dev/null; }
stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

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

# Without $XDG_RUNTIME_DIR the socket goes into a folder of the user's own, mode 0700,
# in the temporary folder.
mkdir "$work/tmp" "$work/shared"
env -u XDG_RUNTIME_DIR TMPDIR="$work/tmp" "$program" &
alone=$!
private="$work/tmp/velkor2tr-$(id -u)"
for _ in $(seq 100); do
  [ -S "$private/velkor2tr-$(id -u)-_velkor-hand-over" ] && break
  sleep 0.2
done
[ -S "$private/velkor2tr-$(id -u)-_velkor-hand-over" ] || fail "no socket in $private: $(ls -la "$work/tmp")"
[ "$(stat -c %a "$private")" = 700 ] || fail "$private has mode $(stat -c %a "$private")"
stop "$alone"
# A link planted at that name, to a folder anyone may enter: said on stderr, and the
# program runs as a window of its own, serving nobody: it opens its file and lists it.
mkdir -m 777 "$work/open"
ln -s "$work/open" "$work/shared/velkor2tr-$(id -u)"
cp "$fixture" "$work/own.velkor"
env -u XDG_RUNTIME_DIR TMPDIR="$work/shared" "$program" "$work/own.velkor" 2>"$work/err" &
alone=$!
ran_alone() { grep -qs "File1=.*/own\.velkor$" "$settings"; }
for _ in $(seq 100); do
  grep -qs "symbolic link" "$work/err" && ran_alone && break
  sleep 0.2
done
grep -q "symbolic link" "$work/err" || fail "nothing said about the planted link: $(cat "$work/err")"
ran_alone && alive "$alone" || fail "the program did not run on its own: $(cat "$settings")"
[ -z "$(ls -A "$work/open")" ] || fail "something was put into the planted folder"
stop "$alone"

# Five starts at the same moment, as a desktop opening five files: one window, every
# file handed to it, the last one on show. Twice, with files named for the round.
five_at_once() {
  local round=$1 i pid status running kept=""
  pids=()
  # The starts wait for a line each on a fifo held open here, so their opens never block
  # and all five go the moment the lines are written.
  rm -f "$work/go"
  mkfifo "$work/go"
  exec 3<>"$work/go"
  for i in 1 2 3 4 5; do
    cp "$fixture" "$work/$round-$i.velkor"
    (exec 3>&-; read -r _ <"$work/go"; exec "$program" "$work/$round-$i.velkor") &
    pids+=($!)
  done
  printf '\n\n\n\n\n' >&3
  for _ in $(seq 150); do
    running=0
    for pid in "${pids[@]}"; do alive "$pid" && running=$((running + 1)); done
    [ "$running" -le 1 ] && break
    sleep 0.2
  done
  [ "$running" -eq 1 ] || fail "five starts at once left $running windows"
  for i in 1 2 3 4 5; do
    pid=${pids[$((i - 1))]}
    if alive "$pid"; then
      first=$pid
      kept="$round-$i.velkor"
    else
      status=0
      wait "$pid" || status=$?
      [ "$status" -eq 0 ] || fail "the start of $round-$i.velkor ended with $status"
    fi
  done
  # The window opened its own file first, then the four handed to it, the last one on
  # show: those four are the recent files, the one shown first.
  handed() { grep -c "^File[1-4]=.*/$round-[1-5]\.velkor$" "$settings" | grep -qx 4 &&
    ! grep -q "^File[1-4]=.*/$kept$" "$settings"; }
  for _ in $(seq 100); do
    handed && break
    sleep 0.2
  done
  handed || fail "the window ($kept) did not get every file: $(cat "$settings")"
  alive "$first" || fail "the window ended"
  stop "$first"
  first=""
  exec 3>&-
}
stop "$first"
first=""
five_at_once one
five_at_once two

# Runs ended by SIGTERM (a logout) soon after they start still leave their file in the
# list. Here the signal comes while the start waits for its turn, before the file opens.
lock="$socket.lock"
mkfifo "$work/release" "$work/held"
for i in 1 2 3 4 5; do
  cp "$fixture" "$work/c$i.velkor"
  # Another start takes the turn, says so on one fifo and holds it until the other is
  # written to.
  flock "$lock" sh -c 'echo >"$1"; exec cat "$2" >/dev/null' holder "$work/held" \
    "$work/release" &
  holder=$!
  read -r _ <"$work/held"
  "$program" "$work/c$i.velkor" &
  run=$!
  for _ in $(seq 100); do
    ls -l "/proc/$run/fd" 2>/dev/null | grep -qF "$lock" && break
    sleep 0.1
  done
  kill -TERM "$run"
  echo >"$work/release"
  wait "$holder"
  status=0
  wait "$run" || status=$?
  [ "$status" -eq 143 ] || fail "run $i ended with $status, not by its SIGTERM"
  grep -q "^File1=.*/c$i\\.velkor$" "$settings" || fail "run $i left no entry: $(cat "$settings")"
done
echo "command line: passed"
