# Shared by the end-to-end tests: the game on the terminal of a tmux pane.
#
# Sourced with ORBITRIX set to the program; gives $work, a scratch folder.

server=orbitrix-e2e
. "$(dirname "${BASH_SOURCE[0]}")/../support/pane.sh"
# Scores of test games stay out of the account's own table.
export ORBITRIX_SCORES="$work/scores"

# Starts the game at COLUMNS x ROWS (80x50 unless given), with the options
# in $game_options and the environment's variables in $game_env (NAME=value
# words). When it ends, the pane records its exit status and the terminal's
# modes, then idles. With $game_output set, the game waits until the pane's
# output is copied to that file, so it holds every byte the game wrote.
game_options=
game_env=
game_output=
write_runner() {
    cat >"$work/run.sh" <<RUN
#!/bin/sh
# Ctrl-C reaches the whole foreground group: this shell waits it out, so the
# game alone decides how it ends.
trap : INT
while [ -n "$game_output" ] && [ ! -e "$work/go" ]; do sleep 0.05; done
sh -c 'echo \$\$ > "$work/pid"; exec env $game_env "$ORBITRIX" $game_options'
echo "EXIT=\$?" > "$work/exit.tmp"
stty -a > "$work/stty"
mv "$work/exit.tmp" "$work/exit"
exec sleep 600
RUN
    chmod +x "$work/run.sh"
}

start_game() {
    local columns=${1:-80} rows=${2:-50}
    write_runner
    tm new-session -d -x "$columns" -y "$rows" -s game "$work/run.sh"
    let_the_game_start
}

let_the_game_start() {
    if [ -n "$game_output" ]; then
        tm pipe-pane -o -t game "cat > '$game_output'"
        touch "$work/go"
    fi
    wait_until 5 "the game to start" test -s "$work/pid"
}

# The same in GNU screen at 80x50 inside the pane, with its default settings
# (no alternate screen, TERM=screen) and these lines of its configuration.
# screen outlives the pane's tmux server, so it is ended first at exit, and
# with it the game and the runner.
start_game_in_screen() {
    write_runner
    mkdir -m 700 "$work/screens"
    printf 'term screen\naltscreen off\n%s\n' "${1:-}" >"$work/screenrc"
    trap 'quit_screen; cleanup' EXIT
    tm new-session -d -x 80 -y 50 -s game \
        "env SYSSCREENRC=/dev/null SCREENDIR=$work/screens screen -U -q -S orbitrix -c $work/screenrc $work/run.sh"
    let_the_game_start
}

quit_screen() {
    # `command`: screen is also the name of the function that reads the pane.
    SCREENDIR=$work/screens command screen -S orbitrix -X quit >/dev/null 2>&1 || true
}

# The game typed at an interactive shell with job control, as a player
# starts it, alone in its job: Ctrl-Z then gives the terminal back to that
# shell. finish_at_the_shell records the status and modes once it ends.
start_game_from_a_shell() {
    tm new-session -d -x 80 -y 50 -s game \
        "env HISTFILE=/dev/null PS1='$ ' bash --norc --noprofile -i"
    wait_for_text '$' 10
    keys -l "$ORBITRIX"
    keys Enter
    local shell_pid
    shell_pid=$(tm display -p -t game '#{pane_pid}')
    game_started() {
        ps -o pid= --ppid "$shell_pid" | tr -d ' ' >"$work/pid"
        test -s "$work/pid"
    }
    wait_until 5 "the game to start" game_started
}

finish_at_the_shell() {
    wait_for_text '$ ' 10
    keys -l "echo EXIT=\$? > $work/exit.tmp; stty -a > $work/stty; mv $work/exit.tmp $work/exit"
    keys Enter
}

game_pid() { cat "$work/pid"; }

# Row N (1-based) of the screen.
row() { screen | sed -n "${1}p"; }
# LENGTH characters of row ROW from COLUMN (1-based) on; the blanks that
# capture-pane trims off the end of a row count as blanks.
text_at() {
    local line
    line="$(row "$2")$(printf '%*s' 300 '')"
    printf '%s' "${line:$(($1 - 1)):$3}"
}

shows_at() { [ "$(text_at "$1" "$2" "${#3}")" = "$3" ]; }
wait_for_text_at() { wait_until "${4:-20}" "\"$3\" at ($1,$2)" shows_at "$1" "$2" "$3"; }

# Through the title's menu and the name to the choice of a level.
choose_level() {
    local name=$1 level=$2
    wait_for_text_at 15 20 "1 - Jogar" 30
    wait_for_text_at 15 22 "2 - Sair"
    keys 1
    wait_for_text_at 15 22 "Digite Seu Nome -> "
    keys -l "$name"
    wait_for_text_at 15 22 "Digite Seu Nome -> $name"
    keys Enter
    wait_for_text "Escolha Um Nivel"
    keys "$level"
    wait_for_text " Nome : "
}

# The title, the name and the first level, up to the play screen.
play_until_the_game_runs() {
    local name=$1
    wait_for_text_at 15 20 "1 - Jogar" 30
    tm capture-pane -e -p -t game | sed -n 20p | grep -qF $'\e[32m1 - Jogar' ||
        fail "the menu is not green"
    choose_level "$name" 1
    wait_for_text_at 69 3 "$name"
    wait_for_text_at 72 5 "4"
    wait_for_text_at 70 7 "1"
}

# The shell's own modes are back: line editing, echo, flow control.
expect_terminal_restored() {
    local mode
    for mode in icanon echo ixon icrnl opost isig; do
        grep -Eq "(^| )$mode( |;|\$)" "$work/stty" || fail "stty shows -$mode: $(cat "$work/stty")"
    done
    [ "$(tm display -p -t game '#{alternate_on}')" = 0 ] || fail "still on the alternate screen"
    [ "$(tm display -p -t game '#{cursor_flag}')" = 1 ] || fail "the cursor is still hidden"
}
