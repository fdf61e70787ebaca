#!/usr/bin/env bash
# Started in a terminal too small for the game: it says what it needs and
# what it has, and goes on once the window is large enough.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

start_game 80 24
wait_for_text "80 colunas x 49 linhas" 10
shows "80 colunas x 24 linhas" || fail "the size it has is not named"

tm resize-window -t game -x 80 -y 50
wait_for_text_at 15 20 "1 - Jogar" 30
shows "colunas" && fail "the notice is still on screen"

kill -TERM "$(game_pid)"
wait_for_exit
expect_exit_status 100
expect_terminal_restored
