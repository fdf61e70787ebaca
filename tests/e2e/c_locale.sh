#!/usr/bin/env bash
# In the C locale the terminal shows ASCII: the game writes no byte above
# 127, and the title and the play screen keep their layout, each glyph in
# one cell.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

game_env="LANG=C LC_ALL=C"
game_options="--seed 3"
game_output="$work/output"
start_game
play_until_the_game_runs "Ana"
wait_for_text "JOGANDO"
# The frame's corners and the panel's border in their columns.
for at in "1 1" "80 1" "60 1" "1 49" "60 49" "80 49" "80 25"; do
    set -- $at
    [ "$(text_at "$1" "$2" 1)" != " " ] || fail "no frame at ($1,$2)"
done
shows_at 62 3 "Nome : Ana" || fail "the panel moved"
keys Escape
wait_for_exit
expect_exit_status 100
high=$(LC_ALL=C tr -d '\000-\177' <"$game_output" | wc -c)
[ "$high" -eq 0 ] || fail "$high bytes above 127 written"
[ -s "$game_output" ] || fail "nothing recorded of the game's output"
