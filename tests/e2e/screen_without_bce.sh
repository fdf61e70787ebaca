#!/usr/bin/env bash
# GNU screen with its defaults, inside tmux: a terminal without background
# colour erase and without an alternate screen. A paused game shows no cell
# in the terminal's own background, and what the program prints after the
# session goes below its last screen, not over it.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

game_options="--seed 3"
start_game_in_screen
play_until_the_game_runs "Ana"
keys p
wait_for_text "PAUSE"
defaults=$(tm capture-pane -e -p -t game | grep -o $'\e\\[49m' | wc -l)
[ "$defaults" -eq 0 ] || fail "$defaults runs in the terminal's default background"

keys Escape
wait_for_text "JOGANDO"
keys Escape
wait_for_exit
expect_exit_status 100
wait_for_text "Ana: "
bottom=$(screen | grep -n '^╚═*╩═*╝$' | cut -d: -f1)
line=$(screen | grep -n "^Ana: [0-9]* pontos" | cut -d: -f1)
[ -n "$bottom" ] || fail "the last screen's frame was written over"
[ "$line" -gt "$bottom" ] || fail "the lines after the session are over the last screen"
