#!/usr/bin/env bash
# A window close ends the show with status 0, as Escape does (the run_show of
# every other script). The pointer is hidden over the show and comes back
# when it ends.
. "$(dirname "$0")/lib.sh"
CLOSE_WINDOW=${CLOSE_WINDOW:?path of velmora_close_window}
POINTER_SHAPE=${POINTER_SHAPE:?path of velmora_pointer_shape}

xdotool mousemove 400 300
[ "$("$POINTER_SHAPE")" = visible ] || fail "the pointer is not visible before the show"
start_show SDL_AUDIODRIVER=dummy
wait_for_window
[ "$("$POINTER_SHAPE")" = hidden ] || fail "the pointer shows over the running show"
# Closing the window as a window manager asks for it.
"$CLOSE_WINDOW" "$WINDOW_ID" || fail "could not send the close request"
wait_for_exit 10
expect_status 0
[ "$("$POINTER_SHAPE")" = visible ] || fail "the pointer did not come back after the show"
echo "quit: ok"
