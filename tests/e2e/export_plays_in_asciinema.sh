#!/usr/bin/env bash
# A short game recorded as a player plays it, then exported: asciinema plays
# the cast to a pane of the same size that ends showing, cell for cell and
# colour for colour, what the game's own pane showed at its end. A recording
# damaged or edited is refused as --replay and --verify refuse it, with
# nothing on standard output.
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

# Seeded, this level-4 game loses its one life within seconds with no key
# pressed; its game-over screen then waits for the key that ends the session.
recording=$work/game.replay
game_options="--seed 1642 --record $recording"
# The cast is what an xterm-256color terminal receives; the game is told the
# same terminal, so both panes are drawn by the same bytes, blanks erased
# alike (tmux's own TERM, screen, has no background colour erase).
game_env="TERM=xterm-256color"
start_game
choose_level "Ana" 4
wait_for_text "GAME OVER" 30
# Its tune played, the screen keeps still until the key.
still() {
    local before
    before=$(tm capture-pane -e -p -t game)
    sleep 0.5
    game_screen=$(tm capture-pane -e -p -t game)
    [ "$game_screen" = "$before" ]
}
wait_until 10 "the game-over screen to keep still" still
keys x
wait_for_exit
expect_exit_status 100

cast=$work/game.cast
"$ORBITRIX" --export "$recording" >"$cast" 2>"$work/err" || fail "--export: $(cat "$work/err")"
[ ! -s "$work/err" ] || fail "--export said: $(cat "$work/err")"
"$ORBITRIX" --export - <"$recording" | cmp -s - "$cast" || fail "--export - gives another cast"

tm new-session -d -x 80 -y 50 -s cast \
    "stty -opost; env LC_ALL=C.UTF-8 asciinema cat '$cast' 2>'$work/cat.err'; echo \$? >'$work/cat.tmp'; mv '$work/cat.tmp' '$work/cat'; exec sleep 600"
wait_until 30 "asciinema cat to end" test -s "$work/cat"
[ "$(cat "$work/cat")" = 0 ] || fail "asciinema cat: $(cat "$work/cat.err")"
cast_screen=$(tm capture-pane -e -p -t cast)
if [ "$cast_screen" != "$game_screen" ]; then
    diff <(echo "$game_screen") <(echo "$cast_screen") | head -n 20 >&2 || true
    fail "the cast ends on another screen than the game did"
fi

# Refused: nothing on standard output, the status and words of --verify
# for a result that differs, of --replay for a damaged line.
refused() { # STATUS FILE [ARGUMENT]
    local status=0
    "$ORBITRIX" --export "${3:-$2}" <"$2" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" = "$1" ] || fail "--export ${3:-$2}: status $status, expected $1"
    [ ! -s "$work/out" ] || fail "--export ${3:-$2} wrote $(wc -c <"$work/out") bytes"
}
edited=$work/edited.replay
sed 's/^\(game lost 52 52 \)\([0-9]*\)/\11\2/' "$recording" >"$edited"
cmp -s "$edited" "$recording" && fail "no result line was edited: $(grep ^game "$recording")"
refused 1 "$edited"
"$ORBITRIX" --verify "$edited" >/dev/null 2>"$work/verify.err" && fail "--verify took the edited file"
cmp -s "$work/err" "$work/verify.err" ||
    fail "--export says '$(cat "$work/err")', --verify '$(cat "$work/verify.err")'"

damaged=$work/damaged.replay
sed '4 s/.*/key forty-two 0/' "$recording" >"$damaged"
refused 2 "$damaged"
grep -q "^orbitrix: $damaged line 4: " "$work/err" || fail "damaged: $(cat "$work/err")"
refused 2 "$damaged" -
grep -q "^orbitrix: standard input line 4: " "$work/err" || fail "damaged, -: $(cat "$work/err")"
