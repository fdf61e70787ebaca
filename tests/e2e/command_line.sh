#!/usr/bin/env bash
# The command line with no terminal anywhere: the help and the version on
# stdout with status 0, a wrong option on stderr with status 2; none of them
# waits for a terminal or writes a byte of the game's screen.
set -u
ORBITRIX=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

run() {
    timeout 5 "$ORBITRIX" "$@" </dev/null >"$work/out" 2>"$work/err"
    status=$?
}

run --help
[ "$status" = 0 ] || fail "--help: status $status"
[ ! -s "$work/err" ] || fail "--help wrote to stderr: $(cat "$work/err")"
grep -q '^Usage: orbitrix ' "$work/out" || fail "--help: no usage line"
grep -q 'man 6 orbitrix' "$work/out" || fail "--help: no pointer to the manual"
! grep -q $'\e' "$work/out" || fail "--help wrote an escape sequence"

run -V
[ "$status" = 0 ] || fail "-V: status $status"
grep -Eqx 'orbitrix [0-9]+\.[0-9]+\.[0-9]+' "$work/out" || fail "-V printed: $(cat "$work/out")"
[ "$(wc -l <"$work/out")" = 1 ] || fail "-V printed more than one line"

run --x
[ "$status" = 2 ] || fail "--x: status $status"
[ ! -s "$work/out" ] || fail "--x wrote to stdout"
[ "$(cat "$work/err")" = "orbitrix: unknown option '--x'
Try 'orbitrix --help'." ] || fail "--x: stderr is: $(cat "$work/err")"

# A good command line still needs a terminal to play on.
run --seed 1 --mute
[ "$status" = 1 ] || fail "--seed 1 --mute without a terminal: status $status"
exit 0
