# Shared helpers for the end-to-end tests: they start the real executable on
# the test display and watch its console, its window and its exit status.
set -euo pipefail

VELMORA=${VELMORA:?path of the velmora executable}
WORK=$(mktemp -d /tmp/velmora-e2e-XXXXXX)
SHOW_PID=
trap 'cleanup' EXIT

cleanup() {
    if [ -n "$SHOW_PID" ] && kill -0 "$SHOW_PID" 2>/dev/null; then
        kill -9 "$SHOW_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}

fail() {
    echo "FAIL: $*"
    for f in out err; do
        if [ -f "$WORK/$f" ]; then
            echo "--- std$f:"
            cat "$WORK/$f"
        fi
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
    WINDOW_ID=$(timeout 20 xdotool search --sync --onlyvisible --pid "$SHOW_PID" \
        --name '^velmora innit$' 2>/dev/null | head -n 1) || true
    [ -n "$WINDOW_ID" ] || fail "no window appeared"
    # Let the show draw a few frames and take the keyboard.
    sleep 0.5
}

# Waits up to $1 seconds for the show to end; sets STATUS.
wait_for_exit() {
    timeout "$1" tail --pid="$SHOW_PID" -f /dev/null || fail "the show did not end within $1 s"
    STATUS=0
    wait "$SHOW_PID" || STATUS=$?
    SHOW_PID=
}

expect_status() {
    [ "$STATUS" -eq "$1" ] || fail "exit status $STATUS, expected $1"
}

# run_show [VAR=value ...]: starts the show, lets it run for ${RUN_SECONDS:-0}
# more seconds once its window is up, ends it with Escape and expects status 0.
run_show() {
    start_show "$@"
    wait_for_window
    sleep "${RUN_SECONDS:-0}"
    xdotool key Escape
    wait_for_exit 20
    expect_status 0
}

# Line numbers of the quad's check sites, in order, from its source.
check_site_lines() {
    grep -n 'GL_CHECK_SITE();' "${QUAD_SOURCE:?path of Quad.cpp}" | grep -v '#define' | cut -d: -f1
}
