#!/usr/bin/env bash
# Escape and a window close end the show with status 0.
. "$(dirname "$0")/lib.sh"
CLOSE_WINDOW=${CLOSE_WINDOW:?path of velmora_close_window}

run_show SDL_AUDIODRIVER=dummy

# Closing the window as a window manager asks for it.
start_show SDL_AUDIODRIVER=dummy
wait_for_window
"$CLOSE_WINDOW" "$WINDOW_ID" || fail "could not send the close request"
wait_for_exit 10
expect_status 0
echo "quit: ok"
