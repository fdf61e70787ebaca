#!/usr/bin/env bash
# Standard output into a pipe: no console to play on, one line on standard
# error and status 1, at once.
. "$(dirname "$0")/lib.sh"

set +e
timeout 60 "$loader" "$program" </dev/null 2>"$work/err" | cat >"$work/out"
status=${PIPESTATUS[0]}
set -e
[ "$status" = 1 ] || fail "exit status $status, expected 1"
[ "$(wc -l <"$work/err")" = 1 ] || fail "standard error: $(cat "$work/err")"
grep -q "not a console" "$work/err" || fail "standard error: $(cat "$work/err")"
[ ! -s "$work/out" ] || fail "wrote to standard output: $(cat "$work/out")"
