#!/usr/bin/env bash
# A Latin-1 terminal in a Latin-1 locale (made here, with localedef): the
# name typed as Zé keeps its é up to the panel and to the line after the
# session, and the play screen keeps its layout.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

mkdir "$work/locale"
localedef -i pt_BR -f ISO-8859-1 "$work/locale/pt_BR.ISO-8859-1" ||
    fail "localedef could not make pt_BR.ISO-8859-1"
[ "$(LOCPATH=$work/locale LC_ALL=pt_BR.ISO-8859-1 locale charmap)" = ISO-8859-1 ] ||
    fail "the Latin-1 locale made is not in force"
game_env="LOCPATH=$work/locale LANG=pt_BR.ISO-8859-1 LC_ALL=pt_BR.ISO-8859-1"
game_options="--seed 3"
# screen turns the pane's UTF-8 into Latin-1 for the game and back.
start_game_in_screen "defencoding iso8859-1"
play_until_the_game_runs "Zé"
shows_at 62 3 "Nome : Zé" || fail "the panel moved"
[ "$(text_at 80 1 1)" != " " ] || fail "the frame's corner is not in the last column"
keys Escape
wait_for_exit
expect_exit_status 100
wait_for_text "Zé: " 10
