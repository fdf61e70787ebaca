#!/usr/bin/env bash
# Without a terminal to play on: one line on stderr, status 1, at once.
set -u
ORBITRIX=$1
export TERM=xterm # whatever runs the tests; the TERM cases below set their own
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check() {
    local what=$1 status
    shift
    timeout 5 "$@" >"$work/out" 2>"$work/err"
    status=$?
    [ "$status" = 1 ] || { echo "FAIL: $what: status $status" >&2; exit 1; }
    [ "$(wc -l <"$work/err")" = 1 ] || { echo "FAIL: $what: stderr is" >&2; cat "$work/err" >&2; exit 1; }
    [ ! -s "$work/out" ] || { echo "FAIL: $what: wrote to stdout" >&2; exit 1; }
}

check "stdin from /dev/null" sh -c '"$0" </dev/null' "$ORBITRIX"
grep -q 'needs a terminal' "$work/err" || { echo "FAIL: no terminal: $(cat "$work/err")" >&2; exit 1; }
# A terminal that cannot place the cursor is refused before any is looked at.
for term in dumb ''; do
    check "TERM='$term'" env TERM="$term" sh -c '"$0" </dev/null' "$ORBITRIX"
    grep -qx "orbitrix: this terminal (TERM=$term) cannot show the game; run it in a terminal emulator such as xterm" "$work/err" ||
        { echo "FAIL: TERM='$term': $(cat "$work/err")" >&2; exit 1; }
done
check "TERM unset" env -u TERM sh -c '"$0" </dev/null' "$ORBITRIX"
grep -q '(TERM unset) cannot show the game' "$work/err" || { echo "FAIL: TERM unset: $(cat "$work/err")" >&2; exit 1; }
check "stdin from a pipe, stdout to a file" sh -c 'echo 1 | "$0"' "$ORBITRIX"
