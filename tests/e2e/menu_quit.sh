#!/usr/bin/env bash
# Leaving from the title menu: the farewell line in place of the menu's
# second entry, then status 100 and the terminal as it was.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

start_game
wait_for_text_at 15 20 "1 - Jogar" 30
wait_for_text_at 15 22 "2 - Sair"
keys 2
wait_for_text_at 15 22 "Ate O Proximo Jogo" 5
# The farewell stays up for its two seconds before the program ends.
[ ! -e "$work/exit" ] || fail "ended before the farewell pause"
wait_for_exit 10
expect_exit_status 100
expect_terminal_restored
