# The program in a detached tmux pane named "game" on a tmux server of its
# own, read back with capture-pane as a player would see it. Every wait is
# bounded, so a failure ends the test instead of hanging it.
#
# Sourced with server set to a name for the tmux server, and optionally
# text_wait and exit_wait to the default seconds of wait_for_text and
# wait_for_exit; gives $work, a scratch folder removed at exit.

set -eu
export LC_ALL=C.UTF-8 # bash's ${line:offset:length} then counts characters
unset TMUX

work=$(mktemp -d)
socket="$server-$$"

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

wait_for_text() { wait_until "${2:-${text_wait:-20}}" "\"$1\"" shows "$1"; }

# The pane's runner writes the status to $work/exit once the program ends.
wait_for_exit() {
    wait_until "${1:-${exit_wait:-10}}" "the program to end" test -s "$work/exit"
}

expect_exit_status() {
    local got
    got=$(cat "$work/exit")
    [ "$got" = "EXIT=$1" ] || fail "exit status: $got, expected $1"
}
