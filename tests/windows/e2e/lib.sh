# Shared by the end-to-end tests of the Windows program: orbitrix.exe under
# wine in a tmux pane of 80x50 (wine's console draws on the pane's terminal).
#
# Sourced with the program and the wine prefix as $1 and $2; gives $work.

server=orbitrix-wine-e2e text_wait=30 exit_wait=15
. "$(dirname "${BASH_SOURCE[0]}")/../../support/pane.sh"
# Scores of test games stay out of the prefix's own table (Z: is wine's /).
export ORBITRIX_SCORES="Z:$work/scores"
unset DISPLAY WAYLAND_DISPLAY

program=$1
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
loader=${ORBITRIX_WINE:-$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)}

# When the program ends, the pane records its exit status, then idles.
# wine's console leaves the terminal's signal keys on, so Ctrl-C reaches the
# whole pane; bash, unlike dash, outlives it once the program has handled it.
# start_game [OPTION...]: the program with these options (no spaces in any).
start_game() {
    cat >"$work/run.sh" <<RUN
#!/usr/bin/env bash
timeout --foreground 120 "$loader" "$program" $*
echo "EXIT=\$?" > "$work/exit.tmp"
mv "$work/exit.tmp" "$work/exit"
exec sleep 600
RUN
    chmod +x "$work/run.sh"
    tm new-session -d -x 80 -y 50 -s game "$work/run.sh"
}

# Through the title's menu (1 plays), the name and the first level, until
# the player's ship is on the screen.
play_until_the_game_runs() {
    local name=$1 tries=0
    until shows "Digite Seu Nome"; do
        tries=$((tries + 1))
        [ "$tries" -le 60 ] || fail "no name prompt"
        # Typed ahead, the key waits in the console until the menu reads it.
        [ $((tries % 10)) -ne 0 ] || keys 1
        sleep 0.5
    done
    keys -l "$name"
    wait_for_text "Digite Seu Nome -> $name" 10
    keys Enter
    sleep 1
    keys 1
    # The player's ship, byte 190, drawn as the PC code page shows it.
    wait_for_text "¥"
}
