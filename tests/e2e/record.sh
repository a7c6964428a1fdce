#!/usr/bin/env bash
# The recorder end to end: a short recording's streams, picture and sound
# against the live show, the same frames twice, and each failure's status,
# line and leftovers.
. "$(dirname "$0")/lib.sh"
RECORDER=${RECORDER:?path of velmora-record}
SHOW_FRAMES=${SHOW_FRAMES:?path of velmora_frames}
SOUND_MATCH=${SOUND_MATCH:?path of velmora_sound_match}
music=$(dirname "$(readlink -f "$RECORDER")")/dancing.ogg

# record OUT [options...]: runs the recorder (in the environment $RECORD_ENV
# adds), its console in $WORK/out and $WORK/err.
record() {
    local output=$1
    shift
    RECORD_STATUS=0
    # shellcheck disable=SC2086 # the variables are words
    env ${RECORD_ENV:-} "$RECORDER" "$@" "$output" </dev/null >"$WORK/out" 2>"$WORK/err" ||
        RECORD_STATUS=$?
}

# --- A short recording: 2 s at 30 frames per second.
mkdir "$WORK/short"
record "$WORK/short/clip.mp4" --seconds 2 --fps 30 --raw-frames "$WORK/first.rgba"
[ "$RECORD_STATUS" -eq 0 ] || fail "the recording failed ($RECORD_STATUS)"
[ -s "$WORK/short/clip-contact.png" ] || fail "no contact sheet"
streams=$(ffprobe -v error -show_entries stream=codec_name,pix_fmt,nb_frames,duration \
    -of compact=p=0 "$WORK/short/clip.mp4")
[ "$(grep -c . <<<"$streams")" -eq 2 ] || fail "expected two streams: $streams"
grep -qx 'codec_name=h264|pix_fmt=yuv420p|duration=2.000000|nb_frames=60' <<<"$streams" ||
    fail "the picture is not 60 H.264 frames of 2 s: $streams"
grep -q '^codec_name=aac|.*duration=2.000000' <<<"$streams" || fail "the sound is not 2 s of AAC: $streams"
# The index is at the front: the moov box comes before the media data.
# (grep reads from a substitution: in a pipe, its early exit could fail head.)
grep -q -a moov <(head -c 65536 "$WORK/short/clip.mp4") || fail "the index is not at the front"

# psnr A B: PSNR in dB of two frames, as ffmpeg measures it in RGB.
psnr() {
    ffmpeg -i "$1" -i "$2" -lavfi \
        '[0:v]format=rgb24[a];[1:v]format=rgb24[b];[a][b]psnr' \
        -f null - 2>&1 | grep -o 'average:[0-9.inf]*' | cut -d: -f2
}
at_least() { awk -v v="$1" -v floor="$2" 'BEGIN { exit !(v == "inf" || v >= floor) }'; }

# Frame 45 is drawn at 1500 ms, show clock -0.625. The raw frame is the live
# read-back (a window's pixel centres round a few values by a level or two
# differently from an off-screen framebuffer's); the encoded frame is within
# 35 dB of it.
"$SHOW_FRAMES" "$WORK" -0.625 >/dev/null 2>&1 || fail "velmora_frames failed"
live=$WORK/frame--0.625.png
ffmpeg -v error -f rawvideo -pixel_format rgba -video_size 800x600 -i "$WORK/first.rgba" \
    -vf 'select=eq(n\,45),vflip' -frames:v 1 "$WORK/raw45.png"
ffmpeg -v error -i "$WORK/short/clip.mp4" \
    -vf 'select=eq(n\,45),scale=in_color_matrix=bt709:in_range=tv,format=rgb24' -frames:v 1 "$WORK/encoded45.png"
raw_psnr=$(psnr "$WORK/raw45.png" "$live")
at_least "$raw_psnr" 60 || fail "the raw frame 45 is at ${raw_psnr:-no} dB from the live frame"
encoded_psnr=$(psnr "$WORK/encoded45.png" "$live")
at_least "$encoded_psnr" 35 || fail "the encoded frame 45 is at ${encoded_psnr:-no} dB, below 35"

# The sound is the callback's, in step: it correlates at lag 0 and peaks there.
# (The decoder leaves the last AAC frame untrimmed; the container's 2 s counts.)
ffmpeg -v error -i "$WORK/short/clip.mp4" -map 0:a -f s16le -ac 2 -ar 44100 - |
    head -c $((88200 * 4)) >"$WORK/sound.raw"
[ "$(stat -c %s "$WORK/sound.raw")" -eq $((88200 * 4)) ] || fail "less than 2 s of sound"
read -r _ correlation _ lag < <("$SOUND_MATCH" "$music" "$WORK/sound.raw")
awk -v c="$correlation" 'BEGIN { exit !(c >= 0.99) }' || fail "sound correlation $correlation"
[ "$lag" -eq 0 ] || fail "the sound is $lag frames out of step"

# The same span again: the same frames, byte for byte.
record "$WORK/short/again.mp4" --seconds 2 --fps 30 --raw-frames "$WORK/second.rgba"
cmp -s "$WORK/first.rgba" "$WORK/second.rgba" || fail "two recordings drew different frames"

# --- Another size, not 4:3: the show drawn at that size in the middle (its
# frame scaled down is the 800x600 one), black bars on either side.
record "$WORK/short/wide.mp4" --seconds 1.5 --fps 30 --size 1280x720 --raw-frames "$WORK/wide.rgba"
[ "$RECORD_STATUS" -eq 0 ] || fail "the 1280x720 recording failed ($RECORD_STATUS)"
grep -qx 'width=1280|height=720' <(ffprobe -v error -select_streams v -show_entries \
    stream=width,height -of compact=p=0 "$WORK/short/wide.mp4") || fail "the video is not 1280x720"
frame_png() { # RAW WxH N PNG [FILTERS]
    ffmpeg -v error -f rawvideo -pixel_format rgba -video_size "$2" -i "$1" \
        -vf "select=eq(n\,$3),vflip${5:+,$5},format=rgb24" -frames:v 1 "$4"
}
frame_png "$WORK/wide.rgba" 1280x720 44 "$WORK/wide44.png"
expect_black "$WORK/wide44.png" 160x720+0+0
expect_black "$WORK/wide44.png" 160x720+1120+0
frame_png "$WORK/wide.rgba" 1280x720 44 "$WORK/wide44-small.png" "crop=960:720:160:0,scale=800:600:flags=area"
frame_png "$WORK/first.rgba" 800x600 44 "$WORK/first44.png"
wide_psnr=$(psnr "$WORK/wide44-small.png" "$WORK/first44.png")
echo "1280x720 against 800x600: $wide_psnr dB"; at_least "$wide_psnr" 30 || fail "the 1280x720 frame scaled down is at ${wide_psnr:-no} dB from the 800x600 one"

# --- Bad outputs, a broken encoder, a full disk, signals and a dying
# display: each row's status, its one line and what is left in its folder.
# Stand-ins for the encoder, found first on the PATH.
stand_in() { # NAME BODY: an "ffmpeg" in $WORK/NAME that runs BODY
    mkdir -p "$WORK/$1"
    printf '#!/bin/sh\n%s\n' "$2" >"$WORK/$1/ffmpeg"
    chmod +x "$WORK/$1/ffmpeg"
}
stand_in silent 'cat <&3 >/dev/null & cat <&4 >/dev/null; wait'
stand_in garbage 'for out; do :; done; cat <&3 >/dev/null & cat <&4 >/dev/null; wait; head -c 99999 /dev/urandom >"$out"'
stand_in stuck 'exec sleep 1000'
long_name=$(printf 'n%.0s' $(seq 247)).mp4 # 251 bytes: the sheet's own name is cut to 255
clip_bytes=$(stat -c %s "$WORK/short/clip.mp4")

# One row: NAME | STATUS | LINE (extended regex after "velmora-record: ";
# empty for a recording that succeeds) | LEFT (the folder's listing
# afterwards, names joined by spaces, "*" for any one name) | SETUP (shell,
# run in the empty folder) | HOW (run; stderr-closed; interrupt or
# kill-display once the encoder runs; tmpfs:SIZE, the folder a file system
# of that size) | ARGUMENTS, after any VAR=value words (@NAME is NAME in the
# folder; OUT is @clip.mp4).
failures=(
    "bad rate|2|--fps takes a whole number||||--fps 0 OUT"
    "bad length|2|--seconds takes a number||||--seconds ten OUT"
    "unknown option|2|unknown option '--colour'||||--colour OUT"
    "unwritable folder|1|cannot write .*/missing/clip.mp4: No such file or directory||||@missing/clip.mp4"
    "no encoder|1|cannot run the encoder 'ffmpeg'||||PATH=/nonexistent OUT"
    "encoder writes nothing|1|the encoder did not write a whole video: the video is empty||||PATH=$WORK/silent:$PATH OUT"
    "encoder writes garbage|1|the encoder did not write a whole video: the video ||||PATH=$WORK/garbage:$PATH OUT"
    "a folder|1|cannot write .*/videos: it is a folder; give a file name such as .*/videos/velmora.mp4|videos|mkdir videos||@videos"
    "a folder, with a slash|1|cannot write .*/videos/: it is a folder|videos|mkdir videos||@videos/"
    "a device|1|cannot write /dev/null: it is a device, not a regular file||||/dev/null"
    "a FIFO|1|cannot write .*/fifo.mp4: it is a FIFO, not a regular file|fifo.mp4|mkfifo fifo.mp4||@fifo.mp4"
    "a symbolic link, written through|0||link-contact.png link.mp4 real.mp4|ln -s real.mp4 link.mp4||@link.mp4"
    "a name of 251 bytes|0||* $long_name|||@$long_name"
    "a name too long|1|cannot write .*: File name too long||||@n$long_name$long_name"
    "stderr closed|0||clip-contact.png clip.mp4||stderr-closed|OUT"
    "Ctrl-C, encoder stuck|130|interrupted; nothing was written|||interrupt|PATH=$WORK/stuck:$PATH --seconds 30 OUT"
    "Ctrl-C while recording|130|interrupted; nothing was written|||interrupt|--seconds 30 OUT"
    "display killed|1|X connection to .* broken|||kill-display|--seconds 30 OUT"
    "disk full at once|1|the encoder .*No space left on device|||tmpfs:128k|--seconds 2 --fps 30 OUT"
    # Nine tenths of what the first recording took: the disk fills near the end.
    "disk full at the end|1|the encoder .*No space left on device|||tmpfs:$((clip_bytes * 9 / 10 / 1024))k|--seconds 2 --fps 30 OUT"
)


for row in "${failures[@]}"; do
    IFS='|' read -r name status line left setup how arguments <<<"$row"
    rm -rf "$WORK/fail" && mkdir "$WORK/fail"
    (cd "$WORK/fail" && eval "$setup")
    # Environment words first, then the recorder's arguments.
    environment=() words=()
    for word in $arguments; do
        if [ ${#words[@]} -eq 0 ] && [[ $word = *=* ]]; then
            environment+=("$word")
        else
            [ "$word" != OUT ] || word=@clip.mp4
            [ "${word#@}" = "$word" ] || word=$WORK/fail/${word#@}
            words+=("$word")
        fi
    done
    [[ $arguments = *--seconds* ]] || words=(--seconds 0.5 "${words[@]}")
    start=(env "${environment[@]}" "$RECORDER" "${words[@]}")
    : >"$WORK/err"
    RECORD_STATUS=0
    case $how in
    stderr-closed)
        timeout 60 "${start[@]}" </dev/null >"$WORK/out" 2>&- || RECORD_STATUS=$? ;;
    interrupt | kill-display)
        display_pid=
        if [ "$how" = kill-display ]; then
            # A display of its own, which says its number when it is ready.
            : >"$WORK/display"
            Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$WORK/display" 2>/dev/null &
            display_pid=$!
            timeout 20 bash -c 'until [ -s "$1" ]; do sleep 0.1; done' _ "$WORK/display" ||
                fail "$name: no display of its own"
            start=(env DISPLAY=":$(head -n 1 "$WORK/display")" "${start[@]:1}")
        fi
        "${start[@]}" </dev/null >"$WORK/out" 2>"$WORK/err" &
        SHOW_PID=$!
        # Under way: its encoder (or the stand-in) is running, and given a
        # moment its pipes are full or its first frames are drawn.
        timeout 30 bash -c 'until pgrep -P "$1" >/dev/null; do sleep 0.1; done' _ "$SHOW_PID" ||
            fail "$name: the encoder never started"
        sleep 2
        if [ -n "$display_pid" ]; then
            kill "$display_pid"
        else
            kill -INT "$SHOW_PID"
        fi
        wait_for_exit 20
        RECORD_STATUS=$STATUS
        [ -z "$display_pid" ] || wait "$display_pid" 2>/dev/null || true
        # The encoder went with the recorder.
        ! pgrep -f "$WORK/fail/.velmora-" >/dev/null || fail "$name: the encoder outlived the recorder"
        ;;
    tmpfs:*)
        unshare -m true 2>/dev/null || { echo "$name: skipped (no mount namespace here)"; continue; }
        unshare -m bash -c 'mount -t tmpfs -o size="$1" tmpfs "$2" && shift 2 &&
            "$@" </dev/null >/dev/null 2>"'"$WORK"'/err"; status=$?
            LC_ALL=C ls -A "'"$WORK"'/fail" >"'"$WORK"'/left"; exit $status' \
            _ "${how#tmpfs:}" "$WORK/fail" "${start[@]}" || RECORD_STATUS=$?
        ;;
    *)
        "${start[@]}" </dev/null >"$WORK/out" 2>"$WORK/err" || RECORD_STATUS=$? ;;
    esac
    [ "$RECORD_STATUS" -eq "$status" ] || fail "$name: status $RECORD_STATUS, expected $status"
    if [ -n "$line" ]; then
        # One line, besides the progress (and the usage after bad options).
        [ "$(grep -c -v -E '^(recording: |usage: |  )' "$WORK/err")" -eq 1 ] || fail "$name: not one line"
        grep -Eq "^(velmora-record: )?$line" "$WORK/err" || fail "$name: no line '$line'"
    fi
    [ "${how#tmpfs:}" != "$how" ] || LC_ALL=C ls -A "$WORK/fail" >"$WORK/left"
    # shellcheck disable=SC2053 # the expected listing may hold a pattern
    [[ "$(tr '\n' ' ' <"$WORK/left" | sed 's/ $//')" == $left ]] ||
        fail "$name: left $(tr '\n' ' ' <"$WORK/left"), expected '$left'"
    echo "ok: $name ($RECORD_STATUS)"
done
echo "record: ok"
