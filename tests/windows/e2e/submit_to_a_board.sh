#!/usr/bin/env bash
# --submit from the Windows program, through WinHTTP, to a stand-in board on
# loopback: the recording arrives byte for byte, the player reads each
# game's place and the run's address, and a refusal ends with status 1.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../../support/stub_board.sh"
trap 'stop_stub_board; cleanup' EXIT
recording=$(cd "$(dirname "$0")/../../data" && pwd)/session.replay

submit() {
    set +e
    timeout 90 "$loader" "$program" --submit "Z:$recording" "$@" </dev/null >"$work/out" 2>"$work/err"
    status=$?
    set -e
}

start_stub_board "$work/board"
cat >"$work/board/answer" <<'JSON'
{"id":5,"page":"/runs/5","replay":"/runs/5.replay","games":[{"name":"Ana","points":340,"start_level":1,"end_level":1,"lives":0,"ending":"perdeu","frames":812,"kind":"open","place":1,"level_place":1}]}
JSON
submit --server "$board"
[ "$status" = 0 ] || fail "stored: status $status, stderr: $(cat "$work/err")"
tr -d '\r' <"$work/out" >"$work/lines"
[ "$(cat "$work/lines")" = "Ana: 340 pontos, 1o lugar no quadro, 1o no nivel 1 (jogo aberto)
Partida guardada no quadro: $board/runs/5" ] || fail "stored: stdout is: $(cat "$work/out")"
[ "$(cat "$work/board/requests")" = "POST /api/runs" ] || fail "requests: $(cat "$work/board/requests")"
cmp -s "$recording" "$work/board/body-1" || fail "the recording did not arrive as it is"

echo 422 >"$work/board/status"
echo '{"error":"game 1 ends with 330 points, recorded 340"}' >"$work/board/answer"
ORBITRIX_SERVER=$board submit
[ "$status" = 1 ] || fail "refused: status $status"
grep -q "refused Z:$recording: game 1 ends with 330 points, recorded 340" "$work/err" ||
    fail "refused: stderr: $(cat "$work/err")"
