# Shared helpers for the end-to-end tests: they start the real executable on
# the test display and watch its console, its window and its exit status.
set -u

VELMORA=${VELMORA:?path of the velmora executable}
WORK=$(mktemp -d /tmp/velmora-e2e-XXXXXX)
SHOW_PID=
trap 'cleanup' EXIT

cleanup() {
    if [ -n "$SHOW_PID" ] && kill -0 "$SHOW_PID" 2>/dev/null; then
        kill -9 "$SHOW_PID" 2>/dev/null
    fi
    rm -rf "$WORK"
}

fail() {
    echo "FAIL: $*"
    for f in out err; do
        [ -f "$WORK/$f" ] && { echo "--- std$f:"; cat "$WORK/$f"; }
    done
    exit 1
}

# start_show [VAR=value ...]: runs the show in the background with an empty
# standard input, its console captured in $WORK/out and $WORK/err.
start_show() {
    env "$@" "$VELMORA" </dev/null >"$WORK/out" 2>"$WORK/err" &
    SHOW_PID=$!
}

# Waits for the show's window; sets WINDOW_ID.
wait_for_window() {
    WINDOW_ID=$(timeout 20 xdotool search --sync --onlyvisible --pid "$SHOW_PID" --name '^velmora innit$' 2>/dev/null | head -n 1)
    [ -n "$WINDOW_ID" ] || fail "no window appeared"
    # Let the show draw a few frames and take the keyboard.
    sleep 0.5
}

# Waits up to $1 seconds for the show to end; sets STATUS.
wait_for_exit() {
    local limit=$1 tenths=0
    while kill -0 "$SHOW_PID" 2>/dev/null; do
        [ "$tenths" -ge $((limit * 10)) ] && fail "the show did not end within $limit s"
        sleep 0.1
        tenths=$((tenths + 1))
    done
    wait "$SHOW_PID"
    STATUS=$?
    SHOW_PID=
}

still_running() { kill -0 "$SHOW_PID" 2>/dev/null; }

expect_status() {
    [ "$STATUS" -eq "$1" ] || fail "exit status $STATUS, expected $1"
}
