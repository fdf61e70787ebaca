#!/usr/bin/env bash
# Ranked play in tmux at 80x50, its board killed with SIGKILL mid-game: the
# game plays on, its keys wait in the client, and the stream resumes where
# the board's acknowledgements stopped, on the board started again on the
# same port and database (`sqlite`, `postgres`), or on the second --server,
# another board on the same PostgreSQL (`move`). The session still ends as
# one run, ranked, its recording on the board byte for byte the client's.
#   ranked_play_resumes.sh ORBITRIX SERVER sqlite|postgres|move
ORBITRIX=$1
SERVER=$2
mode=${3:-sqlite}
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../server/postgres.sh"
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY ORBITRIX_SERVER
database=$work/board.sqlite3
[ "$mode" = sqlite ] || use_postgres
one_pid= two_pid=
trap 'for pid in $one_pid $two_pid; do kill -KILL "$pid" 2>/dev/null; done; cleanup' EXIT

# start_board NAME [PORT]: a board on $database, its log $work/NAME.log;
# prints its port once it listens.
start_board() {
    "$SERVER" --listen "127.0.0.1:${2:-0}" --database "$database" 2>"$work/$1.log" &
    echo $! >"$work/$1.pid"
    wait_until 10 "board $1 to listen" grep -q '^orbitrix-server: serving on 127\.0\.0\.1:' \
        "$work/$1.log"
}
port_of() { sed -n 's/^orbitrix-server: serving on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$work/$1.log"; }
listed() { curl -s --max-time 5 "$1/api/live" | grep -q '"player":"Ana"'; }
total() {
    curl -s --max-time 10 "$1/api/board?kind=$2" |
        python3 -c 'import json, sys; print(json.load(sys.stdin)["total"])'
}
play_for() { # about SECONDS of moves and shots
    for _ in $(seq "$1"); do
        for key in Space d Space a; do
            keys "$key"
            sleep 0.25
        done
    done
}

start_board one
one_pid=$(cat "$work/one.pid") one_port=$(port_of one)
one=http://127.0.0.1:$one_port
servers="--server $one"
if [ "$mode" = move ]; then
    start_board two
    two_pid=$(cat "$work/two.pid")
    two=http://127.0.0.1:$(port_of two)
    servers="--server $one --server $two"
fi
game_options="--ranked --mute $servers --record $work/ana.replay"
start_game
play_until_the_game_runs "Ana"
wait_for_text "JOGANDO"
play_for 2
wait_until 10 "the game listed live" listed "$one"
live_id=$(curl -s --max-time 5 "$one/api/live" | sed -n 's/.*"id":\([0-9]*\).*/\1/p')

# Killed with what it acknowledged committed, and nothing else said.
kill -KILL "$one_pid"
wait "$one_pid" 2>/dev/null || true
one_pid=
play_for 1
if [ "$mode" = move ]; then
    board=$two
else
    start_board one "$one_port"
    one_pid=$(cat "$work/one.pid")
    board=$one
fi
# Taken up where it stood: listed, and fed on, as the game goes.
wait_until 10 "the game listed again" listed "$board"
play_for 3
shows "JOGANDO" || fail "the game stopped with the board"
curl -s --max-time 5 "$board/api/live" | grep -q "\"id\":$live_id," ||
    fail "the session is not the one opened: $(curl -s "$board/api/live")"

keys Escape
wait_for_exit 30
expect_exit_status 100
wait_until 10 "the run's line" shows "(jogo ranqueado)"
shows "Partida guardada no quadro: $board/runs/1" || fail "no address of the run on $board"
[ "$(total "$board" ranked)" = 1 ] || fail "the ranked board holds $(total "$board" ranked) games"
[ "$(total "$board" all)" = 1 ] || fail "the board holds $(total "$board" all) games, not one run's"
curl -s --max-time 10 "$board/runs/1.replay" | cmp -s - "$work/ana.replay" ||
    fail "the board keeps other bytes than the recording's"
[ "$(curl -s -o /dev/null -w '%{http_code} %{redirect_url}' "$board/live/$live_id")" = \
    "303 $board/runs/1" ] || fail "the ended session's page is not its run's"
echo "ranked play on $mode: board killed mid-game, resumed on $board, one ranked run"
