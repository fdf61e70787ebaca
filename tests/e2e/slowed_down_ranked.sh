#!/usr/bin/env bash
# Two --ranked sessions in tmux at 80x50 against orbitrix-server on SQLite
# over loopback, played side by side the same way for the same time: one
# under libfaketime at half speed lands open, told it was slowed down, on
# the run's API and, in Portuguese, its page; the other lands ranked.
#
# faketime -f x0.5 makes every poll and nanosleep last twice what it asks,
# the clocks reading true: each frame's wait, measured from its start on
# steady_clock, takes twice as long, and the game plays at half speed.
# With an offset ('+0 x0.5') libfaketime also slows the clocks, but its
# CLOCK_MONOTONIC then counts from the epoch, and pthread_cond_clockwait,
# which it does not wrap, waits on the true one: the sending thread's
# timed wait never ends and no batch is sent. At half speed the wall time
# less 1.5 times the least time grows by a quarter second a second, so it
# passes the 10 s grace after 40 s of play: the sessions play 60 s, which
# leaves the slowed game 5 s past the grace, not one and a half.
ORBITRIX=$1
SERVER=$2
FAKETIME=$3
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../support/local_board.sh"
PLAY_SECONDS=${PLAY_SECONDS:-60}
start_board

# Each session in a pane and a folder of its own; the pane's helpers read
# the one named in $pane.
base=$work
pane=game
screen() { tm capture-pane -p -t "$pane"; }
keys() { tm send-keys -t "$pane" "$@"; }
slow_game=$base/slow-orbitrix
printf '#!/bin/sh\nexec "%s" -f x0.5 "%s" "$@"\n' "$FAKETIME" "$ORBITRIX" >"$slow_game"
chmod +x "$slow_game"
open_pane() { # NAME PROGRAM
    mkdir "$base/$1"
    work=$base/$1 ORBITRIX=$2 game_options="--ranked --mute --server $board" write_runner
    tm new-session -d -x 80 -y 50 -s "$1" "$base/$1/run.sh"
    wait_until 5 "the game to start in $1" test -s "$base/$1/pid"
}
open_pane game "$slow_game"
open_pane plain "$ORBITRIX"
for pane in game plain; do
    choose_level "$pane" 1
done
for pane in game plain; do
    wait_for_text "JOGANDO"
done
# The same keys to both, until the judge has had its window and its grace
# at half speed: shots, and a step aside now and then, so that the ship
# lives through the minute and its game is not over before the judge can
# tell.
for i in $(seq $((PLAY_SECONDS * 2))); do
    case $((i % 4)) in 1) key=a ;; 3) key=d ;; *) key=Space ;; esac
    for pane in game plain; do keys "$key"; done
    sleep 0.5
done
for pane in game plain; do keys Escape; done
for pane in game plain; do
    wait_until 30 "the $pane session to end" test -s "$base/$pane/exit"
    [ "$(cat "$base/$pane/exit")" = EXIT=100 ] || fail "$pane: $(cat "$base/$pane/exit")"
done

# The run of each, by the address its player was shown.
run_of() {
    pane=$1
    wait_until 10 "the address of $1's run" shows "Partida guardada no quadro: $board/runs/"
    screen | sed -n "s|.*Partida guardada no quadro: $board/runs/\([0-9]*\).*|\1|p" | head -n 1
}
slow_run=$(run_of game)
plain_run=$(run_of plain)
# The board's line on each, with its worst window, frames and holds, shown
# first so that a verdict that is wrong comes with what it was made of.
grep "^orbitrix-server: live .* judged " "$work/server.log" >&2 || fail "no line on the judged games"
game_field() { # RUN FIELD
    curl -s --max-time 10 "$board/api/runs/$1" |
        python3 -c "import json, sys; print(json.load(sys.stdin)['games'][0].get('$2', ''))"
}
[ "$(game_field "$slow_run" kind)" = open ] || fail "the slowed game is $(game_field "$slow_run" kind)"
game_field "$slow_run" open_because | grep -q '^slowed down or sent late' ||
    fail "the slowed game is open because: $(game_field "$slow_run" open_because)"
curl -s --max-time 10 "$board/runs/$slow_run" | grep -q 'jogo mais lento que o tempo real, ou enviado atrasado' ||
    fail "the slowed run's page does not say why it is open"
[ "$(game_field "$plain_run" kind)" = ranked ] ||
    fail "the plain game is $(game_field "$plain_run" kind): $(game_field "$plain_run" open_because)"
[ -z "$(game_field "$plain_run" open_because)" ] || fail "the plain game has a reason"

