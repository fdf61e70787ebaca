#!/usr/bin/env bash
# The players' options as a player meets them: with --arrows the arrow keys
# move the ship; with NO_COLOR set the game shows no colour, and what it
# draws green (the charged special shot among them) is bold.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

game_options="--arrows --seed 3"
start_game
play_until_the_game_runs "Ana"
wait_for_text "JOGANDO"
# The ship starts at column 40 of row 35.
wait_for_text_at 40 35 "¥" 5
keys Left
wait_for_text_at 39 35 "¥" 5
keys Left Up
wait_for_text_at 38 34 "¥" 5
keys Escape
wait_for_exit
expect_exit_status 100

# A new tmux server, so the game starts with NO_COLOR in its environment.
tm kill-server
rm -f "$work/exit" "$work/pid"
export NO_COLOR=1
game_options="--seed 3"
start_game
choose_level "Ana" 1
wait_for_text "JOGANDO"

# No SGR names a colour: bold (1), normal (22) and the plain ones tmux
# writes itself (0, 39, 49) at most.
capture=$(tm capture-pane -e -p -t game)
for sgr in $(grep -oE $'\e\\[[0-9;]*m' <<<"$capture" | tr -d $'\e' | sort -u); do
    case "$sgr" in
    '[1m' | '[22m' | '[0m' | '[m' | '[39m' | '[49m' | '[39;49m') ;;
    *) fail "a colour sequence in mono: $sgr" ;;
    esac
done
grep -qF $'\e[1mJOGANDO' <<<"$capture" || fail "the green status is not bold"
# The special shot's mark is not charged yet: not bold.
sed -n 9p <<<"$capture" | grep -qF $'\e[1m☺' && fail "the uncharged mark is bold"

keys Escape
wait_for_exit
expect_exit_status 100
expect_terminal_restored
