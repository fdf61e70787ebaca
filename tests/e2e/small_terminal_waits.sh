#!/usr/bin/env bash
# Started in a terminal too small for the game: it says what it needs, what
# it has and how to leave, and goes on once the window is large enough.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

start_game 80 24
wait_for_text "80 colunas x 49 linhas" 10
shows "80 colunas x 24 linhas" || fail "the size it has is not named"

tm resize-window -t game -x 80 -y 50
wait_for_text_at 15 20 "1 - Jogar" 30
shows "colunas" && fail "the notice is still on screen"

# Shrunk again, the notice is back, and Ctrl-C, as it says, still leaves.
tm resize-window -t game -x 80 -y 24
wait_for_text "Ctrl-C encerra o jogo." 10
keys C-c
wait_for_exit
expect_exit_status 100
expect_terminal_restored
