#!/usr/bin/env bash
# A game left with Esc once it has points, and one ended by SIGTERM: each
# prints its line once the terminal is back, and --scores lists both.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

points_shown() { screen | sed -n 's/.*Pontos : \([0-9]*\).*/\1/p' | head -n 1; }
has_points() { [ "$(points_shown)" -gt 0 ] 2>/dev/null; }

# Fires while sweeping left and right until a hit shows on the panel. The
# game takes one key a frame (25 a second at level 1), so the keys come
# slower than that: a backlog would hold the Esc behind it.
play_until_points() {
    local tries=120
    until has_points; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "no points after a minute of firing"
        keys Space Space a a Space Space d d
        sleep 0.5
    done
}

# The points of NAME's game in the line printed after it, at least SHOWN.
points_printed() {
    local printed
    printed=$(screen | sed -n "s/^$1: \([0-9]*\) pontos.*/\1/p" | tail -n 1)
    [ -n "$printed" ] && [ "$printed" -ge "$2" ] || fail "no line for $1 with $2 points or more"
    echo "$printed"
}

start_game
play_until_the_game_runs "Ana"
play_until_points
shown=$(points_shown)
keys Escape
wait_for_exit
expect_exit_status 100
expect_terminal_restored
ana=$(points_printed Ana "$shown")
shows "Ana: $ana pontos, 1o lugar entre os 10 melhores" || fail "Ana's line"

tm kill-session -t game
rm -f "$work/pid" "$work/exit"
start_game
play_until_the_game_runs "Bía"
play_until_points
shown=$(points_shown)
kill -TERM "$(game_pid)"
wait_for_exit
expect_exit_status 100
bia=$(points_printed Bía "$shown")
place=$([ "$bia" -gt "$ana" ] && echo 1 || echo 2)
shows "Bía: $bia pontos, ${place}o lugar entre os 10 melhores" || fail "Bía's line"

listing=$("$ORBITRIX" --scores) || fail "--scores failed"
[ "$(echo "$listing" | head -n 1)" = "Pos  Pontos  Nome  Nivel  Fim   Data" ] ||
    fail "headings: $listing"
echo "$listing" | grep -Eq "^ +[12] +$ana  Ana   1      saiu  20[0-9-]{8}T[0-9:]{8}Z$" ||
    fail "Ana's game is not listed: $listing"
echo "$listing" | grep -Eq "^ +[12] +$bia  Bía   1      saiu  20[0-9-]{8}T[0-9:]{8}Z$" ||
    fail "Bía's game is not listed: $listing"
