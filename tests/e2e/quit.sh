#!/usr/bin/env bash
# Escape and a window close end the show with status 0. The pointer is
# hidden over the show and comes back when it ends.
. "$(dirname "$0")/lib.sh"
CLOSE_WINDOW=${CLOSE_WINDOW:?path of velmora_close_window}
POINTER_SHAPE=${POINTER_SHAPE:?path of velmora_pointer_shape}

# Escape, with the pointer in the middle of the screen.
xdotool mousemove 400 300
[ "$("$POINTER_SHAPE")" = visible ] || fail "the pointer is not visible before the show"
start_show SDL_AUDIODRIVER=dummy
wait_for_window
[ "$("$POINTER_SHAPE")" = hidden ] || fail "the pointer shows over the running show"
xdotool key Escape
wait_for_exit 20
expect_status 0
[ "$("$POINTER_SHAPE")" = visible ] || fail "the pointer did not come back after the show"

# Closing the window as a window manager asks for it.
start_show SDL_AUDIODRIVER=dummy
wait_for_window
"$CLOSE_WINDOW" "$WINDOW_ID" || fail "could not send the close request"
wait_for_exit 10
expect_status 0
echo "quit: ok"
