#!/usr/bin/env bash
# The music as the audio device receives it (SDL's disk driver writes the
# stream to a file). Music files that cannot be played: bad_inputs.sh.
. "$(dirname "$0")/lib.sh"
DECODE_MUSIC=${DECODE_MUSIC:?path of velmora_decode_music}
music=$(dirname "$(readlink -f "$VELMORA")")/dancing.ogg
[ -f "$music" ] || fail "no music beside the executable"

# The first second of the stream is the first second of the decoded music.
# The device may play a silent buffer or two before it is unpaused, so the
# music may start a few whole buffers into the file.
RUN_SECONDS=2 run_show SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/stream.raw"
"$DECODE_MUSIC" "$music" 44100 "$WORK/expected.raw" || fail "cannot decode the music"
found=
for buffers in 0 1 2 3 4 5 6 7 8; do
    if cmp -s -n 176400 -i "$((buffers * 4096)):0" "$WORK/stream.raw" "$WORK/expected.raw"; then
        found=$buffers
        break
    fi
done
[ -n "$found" ] || fail "the stream's first second is not the music"
[ -z "$(head -c "$((found * 4096))" "$WORK/stream.raw" | tr -d '\0')" ] || fail "noise before the music"

echo "music: ok"
