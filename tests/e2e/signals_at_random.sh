#!/usr/bin/env bash
# SIGINT, SIGTERM, SIGHUP and SIGTSTP then SIGCONT, each sent at every stage
# from the title to play, at a random moment within it: twenty runs. Each
# ending signal gives status 100 and the terminal back in cooked mode with
# echo; a stopped game gives the terminal back while stopped, and once
# continued (fg sends the SIGCONT) goes on, then ends as usual. Runs go four at a time, each in a
# session of its own on the private tmux server.
#
# The moments come from ORBITRIX_E2E_SEED (printed, so a failure replays).
ORBITRIX=$1
. "$(dirname "$0")/lib.sh"

seed=${ORBITRIX_E2E_SEED:-$(date +%s)}
echo "seed: $seed (ORBITRIX_E2E_SEED=$seed replays these moments)"
RANDOM=$seed

signals=(INT TERM HUP TSTP)
stages=(title menu name level play)
parallel=4

tm new-session -d -s idle "sleep 600" # keeps the server up between runs

# $1 milliseconds as sleep takes them. The pauses are drawn here, not in
# the runs: those are subshells, whose draws would all repeat each other.
pause_of() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }

# run SIGNAL STAGE DELAY_MS: one run in session $session with files in $dir.
run() {
    trap - EXIT
    local sig=$1 stage=$2 delay=$3
    local session="r-$sig-$stage" dir="$work/$sig-$stage"
    mkdir -p "$dir"

    run_fail() {
        echo "FAIL ($sig at $stage after ${delay} ms, seed $seed): $*" >&2
        tm capture-pane -p -t "$session" >&2 2>/dev/null || true
        exit 1
    }
    on() { tm capture-pane -p -t "$session" | grep -qF -- "$1"; }
    wait_on() {
        local tries=$(($2 * 10))
        until on "$1"; do
            tries=$((tries - 1))
            [ "$tries" -gt 0 ] || run_fail "timed out waiting for \"$1\""
            sleep 0.1
        done
    }
    until_true() {
        local limit=$1 what=$2
        shift 2
        local tries=$((limit * 10))
        until "$@"; do
            tries=$((tries - 1))
            [ "$tries" -gt 0 ] || run_fail "timed out waiting for $what"
            sleep 0.1
        done
    }
    pane() { tm display -p -t "$session" "$1"; }
    alternate() { [ "$(pane '#{alternate_on}')" = "$1" ]; }
    send() { tm send-keys -t "$session" "$@"; }
    state() { ps -o state= -p "$(cat "$dir/pid")" | tr -d ' '; }
    stopped() { [ "$(state)" = T ]; }
    running() { local s; s=$(state); [ -n "$s" ] && [ "$s" != T ]; }
    ended() { test -s "$dir/exit"; }
    cooked() { # the modes a shell needs, read from stty -a output
        local mode
        for mode in icanon echo ixon icrnl opost isig; do
            grep -Eq "(^| )$mode( |;|\$)" <<<"$1" || return 1
        done
    }

    if [ "$sig" = TSTP ]; then
        # Typed at a shell with job control, so the game's stop is a real
        # one (in a group without such a shell the stop is discarded). The
        # shell leaves the terminal's modes as the game gave them back.
        tm new-session -d -x 80 -y 50 -s "$session" "env PS1='$ ' sh -i"
        wait_on '$' 10
        send -l "$ORBITRIX"
        send Enter
        local shell_pid
        shell_pid=$(pane '#{pane_pid}')
        game_started() {
            ps -o pid= --ppid "$shell_pid" | tr -d ' ' >"$dir/pid"
            test -s "$dir/pid"
        }
        until_true 5 "the game to start" game_started
    else
        cat >"$dir/run.sh" <<RUN
#!/bin/sh
sh -c 'echo \$\$ > "$dir/pid"; exec "$ORBITRIX"'
echo "EXIT=\$?" > "$dir/exit.tmp"
stty -a > "$dir/stty"
mv "$dir/exit.tmp" "$dir/exit"
exec sleep 600
RUN
        chmod +x "$dir/run.sh"
        tm new-session -d -x 80 -y 50 -s "$session" "$dir/run.sh"
        until_true 5 "the game to start" test -s "$dir/pid"
    fi
    # The signal handlers are in place once the game's screen is up.
    until_true 5 "the game's screen" alternate 1

    case $stage in
    title) ;;
    menu) wait_on "1 - Jogar" 30 ;;
    name | level | play)
        wait_on "1 - Jogar" 30
        send 1
        wait_on "Digite Seu Nome ->" 10
        send -l "Ze"
        if [ "$stage" != name ]; then
            send Enter
            wait_on "Escolha Um Nivel" 10
        fi
        if [ "$stage" = play ]; then
            send 1
            wait_on "ESC - SAIR" 10
        fi
        ;;
    esac
    sleep "$(pause_of "$delay")"
    ! ended || run_fail "ended before the signal: $(cat "$dir/exit")"
    kill -"$sig" "$(cat "$dir/pid")" || run_fail "the game was gone before the signal"

    if [ "$sig" = TSTP ]; then
        until_true 5 "the game to stop" stopped
        until_true 5 "the shell's screen" alternate 0
        local modes
        modes=$(stty -a -F "$(pane '#{pane_tty}')")
        cooked "$modes" || run_fail "stopped, the terminal is not cooked: $modes"
        [ "$(pane '#{cursor_flag}')" = 1 ] || run_fail "stopped, the cursor is hidden"
        # fg sends the SIGCONT, with the terminal handed back to the game.
        on "Stopped" || wait_on "Stopped" 5
        send -l fg
        send Enter
        until_true 5 "the game to go on" running
        until_true 5 "the game's screen again" alternate 1
        # It goes on from where it was: the title runs on to its menu.
        case $stage in
        title | menu) wait_on "1 - Jogar" 30 ;;
        name) wait_on "Digite Seu Nome -> Ze" 5 ;;
        level) wait_on "Escolha Um Nivel" 5 ;;
        play) wait_on "ESC - SAIR" 5 ;;
        esac
        if [ "$stage" = play ]; then
            send Escape
        else
            kill -TERM "$(cat "$dir/pid")" || run_fail "the continued game was gone"
        fi
        # Typed once the game is gone: on its way out it drops unread keys.
        gone() { ! kill -0 "$(cat "$dir/pid")" 2>/dev/null; }
        until_true 10 "the game to end" gone
        send -l "echo EXIT=\$? > $dir/exit.tmp; stty -a > $dir/stty; mv $dir/exit.tmp $dir/exit"
        send Enter
    fi

    until_true 10 "the game to end" ended
    [ "$(cat "$dir/exit")" = "EXIT=100" ] || run_fail "exit status: $(cat "$dir/exit")"
    cooked "$(cat "$dir/stty")" || run_fail "the terminal is not cooked: $(cat "$dir/stty")"
    until_true 2 "the shell's screen" alternate 0
    [ "$(pane '#{cursor_flag}')" = 1 ] || run_fail "the cursor is still hidden"
    tm kill-session -t "$session"
}

pids=()
failed=0
for sig in "${signals[@]}"; do
    for stage in "${stages[@]}"; do
        # Into play, a signal lands before, during or after the first tones;
        # at the title, anywhere in its five seconds.
        case $stage in
        title) delay=$((RANDOM % 4500)) ;;
        play) delay=$((RANDOM % 2000)) ;;
        *) delay=$((RANDOM % 600)) ;;
        esac
        run "$sig" "$stage" "$delay" &
        pids+=($!)
        if [ "${#pids[@]}" -ge "$parallel" ]; then
            wait "${pids[0]}" || failed=$((failed + 1))
            pids=("${pids[@]:1}")
        fi
    done
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=$((failed + 1))
done
[ "$failed" -eq 0 ] || { echo "FAIL: $failed of 20 runs" >&2; exit 1; }
echo "20 runs: every signal gave 100 and the terminal back"
