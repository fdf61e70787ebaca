#!/usr/bin/env bash
# Without a terminal to play on: one line on stderr, status 1, at once.
set -u
ORBITRIX=$1
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
check "stdin from a pipe, stdout to a file" sh -c 'echo 1 | "$0"' "$ORBITRIX"
