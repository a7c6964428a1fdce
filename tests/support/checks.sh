# Shell helpers shared by the end-to-end scripts (tests/e2e) and the checks of
# the release packages (tests/release): a scratch folder $WORK, the show
# started with its console captured in $WORK/out and $WORK/err, and what to
# expect of its window, its end, its picture and its sound. A failed
# expectation prints why, then the console, and ends the script with 1.

WORK=$(mktemp -d /tmp/velmora-test-XXXXXX)
SHOW_PID=
trap 'cleanup' EXIT

cleanup() {
    [ -z "$SHOW_PID" ] || kill -9 "$SHOW_PID" 2>/dev/null || true
    rm -rf "$WORK"
}

fail() {
    echo "FAIL: $*"
    for f in out err; do
        [ ! -f "$WORK/$f" ] || { echo "--- std$f:" && cat "$WORK/$f"; }
    done
    exit 1
}

# start_show [VAR=value ...]: runs $VELMORA in the background with an empty
# standard input.
start_show() {
    env "$@" "$VELMORA" </dev/null >"$WORK/out" 2>"$WORK/err" &
    SHOW_PID=$!
}

# find_window SECONDS [xdotool search options...]: prints the first visible
# window titled "velmora innit" that the options also select, looking every
# tenth of a second for up to SECONDS; fails (status 1) when none came.
# xdotool's own --sync is not used: its search walks the window tree, and a
# window that goes away during the walk ends xdotool with an X error
# (BadWindow), which start-up's short-lived windows (SDL's probe for GL,
# Wine's) bring about now and then on a busy machine.
find_window() {
    local seconds=$1 found
    shift
    local deadline=$((SECONDS + seconds))
    while :; do
        found=$(xdotool search --onlyvisible "$@" --name '^velmora innit$' 2>/dev/null | head -n 1)
        [ -z "$found" ] || { echo "$found"; return 0; }
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Waits for the show's window; sets WINDOW_ID.
wait_for_window() {
    WINDOW_ID=$(find_window 20 --pid "$SHOW_PID") || fail "no window titled \"velmora innit\" appeared"
    # Let the show draw a few frames and take the keyboard.
    sleep 0.5
}

# Waits up to $1 seconds for the show to end; sets STATUS. It looks every
# tenth of a second: tail's default second, waited out by some fifty starts
# of the show, was a minute of the suite.
wait_for_exit() {
    timeout "$1" tail --pid="$SHOW_PID" -s 0.1 -f /dev/null || fail "the show did not end within $1 s"
    STATUS=0
    wait "$SHOW_PID" || STATUS=$?
    SHOW_PID=
}

# escape_show SECONDS: presses Escape until the show ends, for up to SECONDS;
# sets STATUS. On a busy machine a key can come before the window is ready
# for it (Wine's most of all), and a show that has the first one ends on it.
escape_show() {
    local waited=0
    while kill -0 "$SHOW_PID" 2>/dev/null; do
        [ "$waited" -lt "$1" ] || fail "the show did not end within $1 s of pressing Escape"
        xdotool key Escape
        timeout 2 tail --pid="$SHOW_PID" -s 0.1 -f /dev/null || true
        waited=$((waited + 2))
    done
    wait_for_exit 1
}

expect_status() {
    [ "$STATUS" -eq "$1" ] || fail "exit status $STATUS, expected $1"
}

# expect_heart PNG: the middle of the screenshot is the heart's red and the
# corner is darker.
expect_heart() {
    local mean=(-format '%[fx:int(255*mean.r)] %[fx:int(255*mean.g)]' info:)
    local middle_red middle_green corner_red
    read -r middle_red middle_green < <(convert "$1" -crop 200x200+300+200 +repage "${mean[@]}")
    read -r corner_red _ < <(convert "$1" -crop 100x100+0+0 +repage "${mean[@]}")
    [ "$middle_red" -gt 60 ] && [ "$middle_red" -gt $((2 * middle_green)) ] &&
        [ "$corner_red" -lt "$middle_red" ] && return 0
    fail "no heart in the middle of the screen (red $middle_red, green $middle_green; corner red $corner_red)"
}

# expect_music STREAM REFERENCE: the stream the audio device received starts
# with REFERENCE (the music's first second, decoded), after at most a few
# silent buffers: the device may play one or two before it is unpaused. Sets
# MUSIC_FROM to the buffer where the music starts.
expect_music() {
    MUSIC_FROM=
    for buffers in 0 1 2 3 4 5 6 7 8; do
        if cmp -s -n 176400 -i "$((buffers * 4096)):0" "$1" "$2"; then
            MUSIC_FROM=$buffers
            break
        fi
    done
    [ -n "$MUSIC_FROM" ] || fail "the stream's first second is not the music"
    [ -z "$(head -c "$((MUSIC_FROM * 4096))" "$1" | tr -d '\0')" ] || fail "noise before the music"
}

# crop_filter WxH+X+Y: ffmpeg's filter for that part of an image.
crop_filter() {
    local size=${1%%+*} offset=${1#*+}
    echo "crop=${size%x*}:${size#*x}:${offset%+*}:${offset#*+}"
}

# expect_black IMAGE WxH+X+Y: every pixel of that part of the image is black.
expect_black() {
    local lit
    lit=$(ffmpeg -v error -i "$1" -vf "$(crop_filter "$2"),format=rgb24" -f rawvideo - |
        tr -d '\0' | wc -c)
    [ "$lit" -eq 0 ] || fail "$(basename "$1"): $2 is not black ($lit channel values above 0)"
}

# mean_luma IMAGE WxH+X+Y: the mean grey level (0 to 255) of that part.
mean_luma() {
    ffmpeg -v error -i "$1" -vf "$(crop_filter "$2"),scale=1:1:flags=area,format=gray" \
        -f rawvideo - | od -A n -t u1 | tr -d ' '
}
