#!/usr/bin/env bash
# Ranked play in tmux at 80x50 against orbitrix-server on SQLite over
# loopback: a board that does not answer stops the session before the
# terminal is touched; a session played live (on the second --server, the
# first not answering) is listed and watched while it is played, lands on
# the ranked board and the player reads it; its file sent again changes
# nothing; a board stopped mid-session leaves the game playing, then the
# recording and the line that sends it later, as an open run; so does one
# that deals and then never answers a batch.
ORBITRIX=$1
SERVER=$2
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../support/local_board.sh"
# A fresh pane for the next session.
new_session() {
    tm kill-session -t game 2>/dev/null || true
    rm -f "$work/pid" "$work/exit"
    start_game
}
total() {
    curl -s --max-time 10 "$board/api/board?kind=$1" |
        python3 -c 'import json, sys; print(json.load(sys.stdin)["total"])'
}
# Lines longer than the pane wrap; -J joins them back.
shows_joined() { tm capture-pane -p -J -t game | grep -qF -- "$1"; }
play_a_little() {
    play_until_the_game_runs "$1"
    wait_for_text "JOGANDO"
    for key in Space d Space a; do
        keys "$key"
        sleep 0.2
    done
}

# No board: one line, status 1, and the shell's terminal as it was.
game_options="--ranked --mute --server http://127.0.0.1:9"
new_session
wait_for_exit
expect_exit_status 1
shows "orbitrix: no ranked session: cannot reach the board at http://127.0.0.1:9" ||
    fail "no line about the board"
! shows "Jogar" || fail "the title was drawn"
expect_terminal_restored

start_board
# The first board does not answer; the session opens on the next one.
game_options="--ranked --mute --server http://127.0.0.1:9 --server $board --record $work/ana.replay"
new_session
play_a_little "Ana"
# While Ana plays: listed live, and a watcher is sent the whole screen at
# once, her name on its panel, as the board's own replay draws it.
curl -s --max-time 10 "$board/api/live" | grep -q '"player":"Ana"' ||
    fail "the game is not listed live: $(curl -s "$board/api/live")"
live_id=$(curl -s --max-time 10 "$board/api/live" | sed -n 's/.*"id":\([0-9]*\).*/\1/p')
curl -s -N --max-time 2 "$board/api/live/$live_id/stream" >"$work/watched" || true
head -n 1 "$work/watched" | grep -q '^data: {"cols":80,"init":' || fail "no whole screen first"
head -n 1 "$work/watched" | grep -q 'Ana' || fail "the watcher's screen has no Ana"
keys Escape
wait_for_exit
expect_exit_status 100
wait_for_text "(jogo ranqueado)"
shows "Partida guardada no quadro: $board/runs/1" || fail "no address of the run"
[ "$(total ranked)" = 1 ] || fail "the ranked board holds $(total ranked) games"
curl -s --max-time 10 "$board/runs/1.replay" | cmp -s - "$work/ana.replay" ||
    fail "the board keeps other bytes than the recording's"
[ "$(curl -s -o /dev/null -w '%{http_code} %{redirect_url}' "$board/live/$live_id")" = \
    "303 $board/runs/1" ] || fail "the ended session's page is not its run's"

timeout 30 "$ORBITRIX" --submit "$work/ana.replay" --server "$board" >"$work/out" 2>"$work/err" ||
    fail "sent again: $(cat "$work/err")"
grep -qx "Esta partida ja estava no quadro: $board/runs/1" "$work/out" ||
    fail "sent again: $(cat "$work/out")"
[ "$(total all)" = 1 ] || fail "sent again: the board holds $(total all) games"

# The board goes away while Bob plays: the game plays on, and once the
# terminal is given back the session is kept, with the line that sends it.
game_options="--ranked --mute --server $board --record $work/bob.replay"
new_session
play_a_little "Bob"
stop_board
for key in Space d Space a; do
    keys "$key"
    sleep 0.2
done
shows "JOGANDO" || fail "the game stopped with the board"
keys Escape
wait_for_exit 30
expect_exit_status 1
wait_until 10 "the line that sends it later" shows_joined \
    "  orbitrix --submit $work/bob.replay --server $board"
[ -s "$work/bob.replay" ] || fail "no recording kept"

start_board "$port"
timeout 30 "$ORBITRIX" --submit "$work/bob.replay" --server "$board" >"$work/out" 2>"$work/err" ||
    fail "sent later: $(cat "$work/err")"
grep -q '^Bob: .*(jogo aberto)$' "$work/out" || fail "sent later: $(cat "$work/out")"
[ "$(total ranked)" = 1 ] || fail "the ranked board holds $(total ranked) games"

# A board that deals and then takes every batch and never answers: the game
# plays on, keys and frames, and once the terminal is given back the session
# is kept with the line that sends it later.
stop_board
: >"$work/stalling.log"
python3 "$(dirname "$0")/../server/stalling_board.py" 2>"$work/stalling.log" &
server_pid=$!
wait_until 10 "the stalling board to listen" grep -q 'serving on 127\.0\.0\.1:' "$work/stalling.log"
stalling="http://127.0.0.1:$(sed -n 's/.*serving on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/stalling.log")"
game_options="--ranked --mute --server $stalling --record $work/cy.replay"
new_session
play_a_little "Cy"
for key in Space d Space a Space d Space a; do
    keys "$key"
    sleep 0.5
done
shows "JOGANDO" || fail "the game stopped behind the stalling board"
keys Escape
wait_for_exit 60
expect_exit_status 1
wait_until 10 "the line that sends it later" shows_joined \
    "  orbitrix --submit $work/cy.replay --server $stalling"
