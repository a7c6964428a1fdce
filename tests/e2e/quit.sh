#!/usr/bin/env bash
# A window close ends the show with status 0, as Escape does (the run_show of
# every other script). The pointer is hidden over the show and comes back
# when it ends. A window whose size changes keeps the picture's shape.
. "$(dirname "$0")/lib.sh"
CLOSE_WINDOW=${CLOSE_WINDOW:?path of velmora_close_window}
FAKE_TICKS=${FAKE_TICKS:?path of the fake-ticks preload}
POINTER_SHAPE=${POINTER_SHAPE:?path of velmora_pointer_shape}

xdotool mousemove 400 300
[ "$("$POINTER_SHAPE")" = visible ] || fail "the pointer is not visible before the show"
# Held at a greeting, where the whole picture is lit.
start_show SDL_AUDIODRIVER=dummy VELMORA_FAKE_TICKS=50000 LD_PRELOAD="$FAKE_TICKS"
wait_for_window
[ "$("$POINTER_SHAPE")" = hidden ] || fail "the pointer shows over the running show"
# Made wider than 4:3: the picture is the middle 400x300, black on each side.
xdotool windowsize "$WINDOW_ID" 600 300
sleep 1
ffmpeg -v error -f x11grab -video_size 600x300 -i "$DISPLAY+0,0" -frames:v 1 "$WORK/resized.png"
expect_black "$WORK/resized.png" 100x300+0+0
expect_black "$WORK/resized.png" 100x300+500+0
[ "$(mean_luma "$WORK/resized.png" 400x300+100+0)" -gt 8 ] || fail "no picture in the middle"
# Closing the window as a window manager asks for it.
"$CLOSE_WINDOW" "$WINDOW_ID" || fail "could not send the close request"
wait_for_exit 10
expect_status 0
[ "$("$POINTER_SHAPE")" = visible ] || fail "the pointer did not come back after the show"
echo "quit: ok"
