#!/usr/bin/env bash
# Killed during play: status 100 all the same, and the terminal restored.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

start_game
play_until_the_game_runs "Bia"
kill -TERM "$(game_pid)"
wait_for_exit
expect_exit_status 100
expect_terminal_restored
