#!/usr/bin/env bash
# A whole start as a player makes it, keys that must not end play, then Esc:
# status 100 and the terminal as it was.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

start_game
play_until_the_game_runs "Ana"
wait_for_text "JOGANDO"
tm capture-pane -e -p -t game | grep -qF $'\e[32mAna' || fail "the name is not green"

# Arrow, editing and function keys and Alt+key send ESC sequences; none of
# them may pass for the Esc key.
keys Up Down Left Right Home End PageUp PageDown IC DC F1 F5 F10 M-x
sleep 1
[ ! -e "$work/exit" ] || fail "a function key ended the game: $(cat "$work/exit")"
shows "Status : " || fail "left the play screen"

keys Escape
wait_for_exit
expect_exit_status 100
expect_terminal_restored
