#!/usr/bin/env bash
# Ctrl-C during play and during the pause each end the program with status
# 100, and the game it cut short is in the table all the same.
. "$(dirname "$0")/lib.sh"

points_shown() { screen | sed -n 's/.*Pontos : \([0-9]*\).*/\1/p' | head -n 1; }
has_points() { [ "$(points_shown)" -gt 0 ] 2>/dev/null; }

# Fires while sweeping left and right until a hit shows on the panel, the
# keys far slower than the frames, as wine draws slowly on a loaded machine
# and a backlog would hold the pause key behind it.
play_until_points() {
    local tries=240
    until has_points; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "no points after two minutes of firing"
        keys Space a Space d
        sleep 0.5
    done
}

start_game
play_until_the_game_runs "Bia"
play_until_points
keys C-c
wait_for_exit
expect_exit_status 100

tm kill-session -t game
rm -f "$work/exit"
start_game
play_until_the_game_runs "Caio"
play_until_points
sleep 1 # the keys sent while firing are read by now
keys p
# The panel's status word: JOGANDO in play, PAUSE over it while paused.
wait_until 30 "the pause" eval '! shows JOGANDO'
keys C-c
wait_for_exit
expect_exit_status 100

listing=$(timeout 60 "$loader" "$program" --scores </dev/null) || fail "--scores failed"
echo "$listing" | grep -Eq "^ +[12] +[0-9]+  Bia +1 +saiu " || fail "Bia's game is not listed: $listing"
echo "$listing" | grep -Eq "^ +[12] +[0-9]+  Caio +1 +saiu " || fail "Caio's game is not listed: $listing"
