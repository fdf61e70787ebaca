#!/usr/bin/env bash
# Ctrl-C in the middle of play ends the program with status 100.
. "$(dirname "$0")/lib.sh"

start_game
play_until_the_game_runs "Bia"
keys C-c
wait_for_exit
expect_exit_status 100
