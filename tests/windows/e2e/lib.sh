# Shared by the end-to-end tests of the Windows program: orbitrix.exe under
# wine in a detached tmux pane of 80x50 on its own server, read back with
# capture-pane as a player would see it (wine's console draws on the pane's
# terminal). Every wait is bounded.
#
# Sourced with the program and the wine prefix as $1 and $2; gives $work.

set -eu
export LC_ALL=C.UTF-8
unset TMUX DISPLAY WAYLAND_DISPLAY

program=$1
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
loader=${ORBITRIX_WINE:-$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)}

work=$(mktemp -d)
# Scores of test games stay out of the prefix's own table (Z: is wine's /).
export ORBITRIX_SCORES="Z:$work/scores"
socket="orbitrix-wine-e2e-$$"

tm() { tmux -L "$socket" -f /dev/null "$@"; }

cleanup() {
    tm kill-server 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- screen:" >&2
    tm capture-pane -p -t game >&2 2>/dev/null || true
    exit 1
}

# When the program ends, the pane records its exit status, then idles.
# wine's console leaves the terminal's signal keys on, so Ctrl-C reaches the
# whole pane; bash, unlike dash, outlives it once the program has handled it.
start_game() {
    cat >"$work/run.sh" <<RUN
#!/usr/bin/env bash
timeout --foreground 120 "$loader" "$program"
echo "EXIT=\$?" > "$work/exit.tmp"
mv "$work/exit.tmp" "$work/exit"
exec sleep 600
RUN
    chmod +x "$work/run.sh"
    tm new-session -d -x 80 -y 50 -s game "$work/run.sh"
}

screen() { tm capture-pane -p -t game; }
shows() { screen | grep -qF -- "$1"; }
keys() { tm send-keys -t game "$@"; }

# wait_until SECONDS WHAT COMMAND...: polls the command until it succeeds.
wait_until() {
    local limit=$1 what=$2
    shift 2
    local tries=$((limit * 10))
    while ! "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "timed out waiting for $what"
        sleep 0.1
    done
}

wait_for_text() { wait_until "${2:-30}" "\"$1\"" shows "$1"; }

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

wait_for_exit() {
    wait_until "${1:-15}" "the program to end" test -s "$work/exit"
}

expect_exit_status() {
    local got
    got=$(cat "$work/exit")
    [ "$got" = "EXIT=$1" ] || fail "exit status: $got, expected $1"
}
