#!/usr/bin/env bash
# A --ranked session of the Windows program, its batches sent through
# WinHTTP by the live sender's thread, against the real orbitrix-server (the
# build machine's own, on SQLite over loopback): the game is listed live as
# it is played, lands on the ranked board, and the player reads its place
# and the run's address. Given the server's path as $3.
. "$(dirname "$0")/lib.sh"
SERVER=$3
. "$(dirname "$0")/../../support/local_board.sh"
[ -x "$SERVER" ] || fail "no board's server at $SERVER"
start_board
start_game --ranked --mute --server "$board"
play_until_the_game_runs "Duda"
for key in Space a Space d Space a Space d; do
    keys "$key"
    sleep 0.5
done
curl -s --max-time 10 "$board/api/live" | grep -q '"player":"Duda"' ||
    fail "the game is not listed live: $(curl -s "$board/api/live")"
# wine's console holds a lone Esc as the start of a sequence until the
# next byte comes; a second Esc lets the first through. (Ctrl-C would end
# the program mid-game, its game cut off and so open.) The game is a few
# seconds, under the judge's window, so a slow machine cannot open it.
keys Escape Escape
wait_for_exit 60
expect_exit_status 100
wait_for_text "(jogo ranqueado)"
shows "Partida guardada no quadro: $board/runs/1" || fail "no address of the run"
curl -s --max-time 10 "$board/api/runs/1" |
    python3 -c 'import json, sys; g = json.load(sys.stdin)["games"][0]; print(g["kind"], g.get("open_because", ""))' \
        >"$work/kind"
[ "$(cat "$work/kind")" = "ranked " ] || fail "the run's game is $(cat "$work/kind")"
grep "^orbitrix-server: live .* judged " "$work/server.log" >&2 || fail "no line on the judged game"
