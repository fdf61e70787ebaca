#!/usr/bin/env bash
# A session recorded with --seed in tmux, as a player plays it, sent with
# --submit to orbitrix-server on SQLite over loopback: its game lands on
# the open board and the player reads its place and the run's address; the
# same file sent again changes nothing on the board. A seed the board dealt
# (a ticket's or a live deal's), practised offline, sends an open game.
ORBITRIX=$1
SERVER=$2
. "$(dirname "$0")/lib.sh"
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
server_pid=
trap '[ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null; cleanup' EXIT

"$SERVER" --listen 127.0.0.1:0 --database "$work/board.sqlite3" 2>"$work/server.log" &
server_pid=$!
served_on() { grep -q '^orbitrix-server: serving on 127\.0\.0\.1:' "$work/server.log"; }
wait_until 10 "the board to listen" served_on
board="http://127.0.0.1:$(sed -n 's/^orbitrix-server: serving on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$work/server.log")"

recording=$work/seeded.replay
game_options="--seed 7 --mute --record $recording"
start_game
play_until_the_game_runs "Ana"
wait_for_text "JOGANDO"
for key in Space d Space a Space; do
    keys "$key"
    sleep 0.2
done
keys Escape
wait_for_exit
expect_exit_status 100

submit() {
    timeout 30 "$ORBITRIX" --submit "$recording" --server "$board" >"$work/out" 2>"$work/err"
    status=$?
}
# The board's total of games of one kind.
total() {
    curl -s --max-time 10 "$board/api/board?kind=$1" |
        python3 -c 'import json, sys; print(json.load(sys.stdin)["total"])'
}

submit
[ "$status" = 0 ] || fail "stored: status $status, stderr: $(cat "$work/err")"
sed -n 1p "$work/out" | grep -Eqx 'Ana: [0-9]+ pontos, 1o lugar no quadro, 1o no nivel 1 \(jogo aberto\)' ||
    fail "the game's line: $(cat "$work/out")"
[ "$(sed -n 2p "$work/out")" = "Partida guardada no quadro: $board/runs/1" ] ||
    fail "the run's line: $(cat "$work/out")"
[ "$(wc -l <"$work/out")" = 2 ] || fail "stdout: $(cat "$work/out")"
[ "$(total open)" = 1 ] || fail "the open board holds $(total open) games"
[ "$(total ranked)" = 0 ] || fail "the ranked board holds $(total ranked) games"
curl -s --max-time 10 "$board/runs/1.replay" | cmp -s - "$recording" ||
    fail "the board keeps other bytes than the recording's"

submit
[ "$status" = 0 ] || fail "sent again: status $status, stderr: $(cat "$work/err")"
[ "$(sed -n 2p "$work/out")" = "Esta partida ja estava no quadro: $board/runs/1" ] ||
    fail "sent again: $(cat "$work/out")"
[ "$(total all)" = 1 ] || fail "sent again: the board holds $(total all) games"

# A seed the board dealt, practised offline with --seed and the game sent
# with its ticket, or the seed of a live deal sent as a plain run: open both,
# the first told it was not played live.
practise() { # SEED RECORDING
    tm kill-session -t game
    rm -f "$work/pid" "$work/exit"
    game_options="--seed $1 --mute --record $2"
    start_game
    play_until_the_game_runs "Ana"
    wait_for_text "JOGANDO"
    for key in Space a Space d Space; do
        keys "$key"
        sleep 0.2
    done
    keys Escape
    wait_for_exit
    expect_exit_status 100
}
field() { # JSON-TEXT PYTHON-EXPRESSION-ON-j
    python3 -c "import json, sys; j = json.loads(sys.argv[1]); print($2)" "$1"
}
ticket=$(curl -s --max-time 10 -X POST "$board/api/tickets")
recording=$work/practised.replay
practise "$(field "$ticket" 'j["seed"]')" "$recording"
field "$ticket" 'j["ticket"]' >"$recording.tickets"
submit
[ "$status" = 0 ] || fail "practised on a ticket's seed: status $status, $(cat "$work/err")"
grep -q '(jogo aberto)$' "$work/out" || fail "practised on a ticket's seed: $(cat "$work/out")"
run=$(sed -n 's|.*/runs/\([0-9]*\)$|\1|p' "$work/out")
answer=$(curl -s --max-time 10 "$board/api/runs/$run")
[ "$(field "$answer" 'j["games"][0]["kind"]')" = open ] || fail "the ticket's game: $answer"
field "$answer" 'j["games"][0]["open_because"]' | grep -q '^not played live' ||
    fail "the ticket's game is not told it was not played live: $answer"

opened=$(curl -s --max-time 10 -X POST -d '{"name":"Ana"}' "$board/api/live")
dealt=$(curl -s --max-time 10 -X POST \
    -d "{\"secret\":\"$(field "$opened" 'j["secret"]')\",\"name\":\"Ana\",\"level\":49}" \
    "$board/api/live/$(field "$opened" 'j["run"]')/games")
recording=$work/practised-live.replay
practise "$(field "$dealt" 'j["seed"]')" "$recording"
submit
[ "$status" = 0 ] || fail "practised on a live deal's seed: status $status, $(cat "$work/err")"
grep -q '(jogo aberto)$' "$work/out" || fail "practised on a live deal's seed: $(cat "$work/out")"
[ "$(total ranked)" = 0 ] || fail "the ranked board holds $(total ranked) games"
