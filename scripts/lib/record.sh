# Sourced by scripts/record and scripts/show: runs the recorder, on a virtual
# display when there is no display.
#
#   run_recorder CONSOLE_LOG RECORDER [ARGUMENTS...]
#
# The show's own start-up console (standard output) goes to CONSOLE_LOG; the
# progress and the result stay on standard error. Returns the recorder's
# status. Ctrl-C reaches the recorder alone, which then removes what it had
# begun to write: the virtual display must outlive it, so it runs in a
# session of its own and the interrupt is passed on by hand.
run_recorder() {
    local console_log=$1
    shift
    if [ -n "${DISPLAY:-}" ]; then
        "$@" >"$console_log"
        return
    fi
    local pid_file status=0
    pid_file=$(mktemp)
    # One 800x600 screen, like the show's full-screen mode.
    setsid xvfb-run --auto-servernum --server-args="-screen 0 800x600x24 -nolisten tcp -noreset" \
        sh -c 'echo $$ >"$0"; exec "$@"' "$pid_file" "$@" >"$console_log" &
    local runner=$!
    trap 'kill -INT "$(cat "$pid_file")" 2>/dev/null || true' INT TERM HUP
    # A trapped signal interrupts wait; wait again until the recorder is done.
    while :; do
        status=0
        wait "$runner" || status=$?
        kill -0 "$runner" 2>/dev/null || break
    done
    trap - INT TERM HUP
    rm -f "$pid_file"
    return "$status"
}
