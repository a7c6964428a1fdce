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

# Nothing under the output's name, and no temporary file beside it either.
expect_nothing_written() {
    local folder=$1
    [ -z "$(ls -A "$folder" 2>/dev/null)" ] || fail "$2: files left behind: $(ls -A "$folder")"
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

# --- Failures: status, one line, nothing left under the output's name.
# name | status | expected line (extended regex) | environment | recorder arguments
failures=(
    "bad rate|2|--fps takes a whole number||--fps 0"
    "bad length|2|--seconds takes a number||--seconds ten"
    "unknown option|2|unknown option '--colour'||--colour"
    "unwritable folder|1|cannot write $WORK/missing/clip.mp4: No such file or directory||OUT=$WORK/missing/clip.mp4"
    "no encoder|1|cannot run the encoder 'ffmpeg'|PATH=/nonexistent|"
)
for row in "${failures[@]}"; do
    IFS='|' read -r name status line environment arguments <<<"$row"
    mkdir -p "$WORK/fail"
    output=$WORK/fail/clip.mp4
    [ "${arguments#OUT=}" = "$arguments" ] || { output=${arguments#OUT=}; arguments=; }
    # shellcheck disable=SC2086 # the arguments are words
    RECORD_ENV=$environment record "$output" --seconds 1 $arguments
    [ "$RECORD_STATUS" -eq "$status" ] || fail "$name: status $RECORD_STATUS, expected $status"
    grep -Eq "^velmora-record: $line" "$WORK/err" || fail "$name: no line '$line'"
    expect_nothing_written "$WORK/fail" "$name"
done

# A full disk: a small file system of its own (needs root and mount namespaces).
if unshare -m true 2>/dev/null; then
    mkdir "$WORK/full"
    status=0
    unshare -m bash -c 'mount -t tmpfs -o size=128k tmpfs "$1" && shift &&
        "$@" --seconds 2 "'"$WORK"'/full/clip.mp4" </dev/null >/dev/null 2>"'"$WORK"'/err"
        status=$?; ls -A "'"$WORK"'/full" >"'"$WORK"'/left"; exit $status' \
        _ "$WORK/full" "$RECORDER" || status=$?
    [ "$status" -eq 1 ] || fail "full disk: status $status"
    grep -q '^velmora-record: the encoder failed.*No space left on device' "$WORK/err" ||
        fail "full disk: no line naming the full disk"
    [ ! -s "$WORK/left" ] || fail "full disk: files left behind: $(cat "$WORK/left")"
else
    echo "full disk: skipped (no mount namespace here)"
fi

# Ctrl-C halfway.
mkdir "$WORK/stopped"
# Emptied here: the shell truncates it in the background job, after the
# first look below may have read the full-disk run's progress lines.
: >"$WORK/err"
"$RECORDER" --seconds 30 "$WORK/stopped/clip.mp4" </dev/null >"$WORK/out" 2>"$WORK/err" &
SHOW_PID=$!
for _ in $(seq 600); do
    grep -q 'recording: *[1-9][0-9]*%' "$WORK/err" && break
    sleep 0.1
done
grep -q "recording:" "$WORK/err" || { cat "$WORK/err"; fail "Ctrl-C: the recording did not get going"; }
kill -INT "$SHOW_PID"
wait_for_exit 20
expect_status 130
grep -q '^velmora-record: interrupted; nothing was written$' "$WORK/err" || fail "Ctrl-C: no line"
expect_nothing_written "$WORK/stopped" "Ctrl-C"
echo "record: ok"
