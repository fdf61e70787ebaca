#!/usr/bin/env bash
# --submit as a player runs it, against a stand-in board on loopback: the
# recording arrives byte for byte at POST /api/runs, the player reads each
# game's place and the run's address, and a refusal, a board that is gone
# and a board never named each end with their status and one line.
set -u
ORBITRIX=$1
here=$(dirname "$0")
work=$(mktemp -d)
. "$here/../support/stub_board.sh"
trap 'stop_stub_board; rm -rf "$work"' EXIT
recording=$here/../data/session.replay

fail() { echo "FAIL: $*" >&2; exit 1; }

run() {
    timeout 20 "$ORBITRIX" "$@" </dev/null >"$work/out" 2>"$work/err"
    status=$?
}

start_stub_board "$work/board"
cat >"$work/board/answer" <<'JSON'
{"id":3,"page":"/runs/3","replay":"/runs/3.replay","games":[{"name":"Ana","points":340,"start_level":1,"end_level":1,"lives":0,"ending":"perdeu","frames":812,"kind":"open","place":2,"level_place":1}]}
JSON

run --submit "$recording" --server "$board/"
[ "$status" = 0 ] || fail "stored: status $status, stderr: $(cat "$work/err")"
[ "$(cat "$work/out")" = "Ana: 340 pontos, 2o lugar no quadro, 1o no nivel 1 (jogo aberto)
Partida guardada no quadro: $board/runs/3" ] || fail "stored: stdout is: $(cat "$work/out")"
[ ! -s "$work/err" ] || fail "stored: stderr: $(cat "$work/err")"
[ "$(sed -n 1p "$work/board/requests")" = "POST /api/runs" ] || fail "request: $(cat "$work/board/requests")"
cmp -s "$recording" "$work/board/body-1" || fail "the recording did not arrive as it is"
grep -q '^text/plain' "$work/board/type-1" || fail "content type: $(cat "$work/board/type-1")"

echo 200 >"$work/board/status"
ORBITRIX_SERVER=$board run --submit "$recording"
[ "$status" = 0 ] || fail "already there: status $status"
grep -qx "Esta partida ja estava no quadro: $board/runs/3" "$work/out" || fail "already there: $(cat "$work/out")"

echo 422 >"$work/board/status"
echo '{"error":"game 1 ends with 330 points, recorded 340"}' >"$work/board/answer"
run --submit "$recording" --server "$board"
[ "$status" = 1 ] || fail "refused: status $status"
[ ! -s "$work/out" ] || fail "refused: stdout: $(cat "$work/out")"
[ "$(cat "$work/err")" = "orbitrix: the board at $board refused $recording: game 1 ends with 330 points, recorded 340" ] ||
    fail "refused: stderr: $(cat "$work/err")"

stop_stub_board
run --submit "$recording" --server "$board"
[ "$status" = 1 ] || fail "board gone: status $status"
grep -q "^orbitrix: cannot reach the board at $board: " "$work/err" || fail "board gone: $(cat "$work/err")"
[ "$(wc -l <"$work/err")" = 1 ] || fail "board gone: $(cat "$work/err")"

unset ORBITRIX_SERVER
run --submit "$recording"
[ "$status" = 2 ] || fail "no board: status $status"
grep -q "needs a board" "$work/err" || fail "no board: $(cat "$work/err")"
run --submit "$work/none" --server "$board"
[ "$status" = 2 ] || fail "no file: status $status"
grep -q "^orbitrix: $work/none: cannot be read: " "$work/err" || fail "no file: $(cat "$work/err")"
exit 0
