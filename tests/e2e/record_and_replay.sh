#!/usr/bin/env bash
# A short game recorded with a few keys and a pause, then replayed: the
# replay's paused panel shows the recorded points, lives and level, and it
# ends with 100 and the terminal as it was.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

recording=$work/game.replay
panel() { echo "$(text_at 71 11 6)|$(text_at 72 5 3)|$(text_at 70 7 3)"; }

game_options="--record $recording"
start_game
play_until_the_game_runs "Ana"
wait_for_text "JOGANDO"
for key in d d Space Space a Space w Space; do
    keys "$key"
    sleep 0.3
done
keys p
wait_for_text_at 71 16 "PAUSE"
recorded=$(panel)
# Long enough that the replay, at twice the speed, stays paused for several
# of the test's looks at the screen even on a loaded machine.
sleep 3
keys x
sleep 0.5
keys Escape
wait_for_exit
expect_exit_status 100
[ "$(head -n 1 "$recording")" = "orbitrix replay 1" ] || fail "no header: $(head -n 2 "$recording")"
grep -q '^key 112 ' "$recording" || fail "the pause key is not recorded"
tail -n 1 "$recording" | grep -q '^game left 49 49 .* "Ana"$' ||
    fail "the game's result is not the last line: $(tail -n 1 "$recording")"

tm kill-server
rm -f "$work/exit" "$work/pid"
game_options="--replay $recording --speed 2"
start_game
wait_for_text_at 69 3 "Ana" 30
wait_for_text_at 71 16 "PAUSE" 30
replayed=$(panel)
[ "$replayed" = "$recorded" ] || fail "paused panel: replayed $replayed, recorded $recorded"
wait_for_exit 30
expect_exit_status 100
expect_terminal_restored
