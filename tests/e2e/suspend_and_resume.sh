#!/usr/bin/env bash
# Ctrl-Z gives the terminal back to the shell while the game is stopped;
# brought back with fg, the game repaints its screen and plays on.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

start_game_from_a_shell
play_until_the_game_runs "Caio"
pid=$(game_pid)

stopped() { [ "$(ps -o state= -p "$pid" | tr -d ' ')" = T ]; }
primary_screen() { [ "$(tm display -p -t game '#{alternate_on}')" = 0 ]; }
alternate_screen() { [ "$(tm display -p -t game '#{alternate_on}')" = 1 ]; }

keys C-z
wait_until 5 "the game to stop" stopped
wait_until 5 "the shell's screen" primary_screen

wait_for_text "Stopped" 5
keys -l fg
keys Enter
wait_until 5 "the game's screen" alternate_screen
wait_for_text_at 69 3 "Caio" 5
wait_for_text "ESC - SAIR" 5

keys Escape
wait_until 10 "the game to end" primary_screen
finish_at_the_shell
wait_for_exit
expect_exit_status 100
expect_terminal_restored
