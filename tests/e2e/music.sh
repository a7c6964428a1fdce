#!/usr/bin/env bash
# The music as the audio device receives it (SDL's disk driver writes the
# stream to a file). Music files that cannot be played: bad_inputs.sh.
. "$(dirname "$0")/lib.sh"
DECODE_MUSIC=${DECODE_MUSIC:?path of velmora_decode_music}
music=$(dirname "$(readlink -f "$VELMORA")")/dancing.ogg
[ -f "$music" ] || fail "no music beside the executable"

# The first second of the stream is the first second of the decoded music.
RUN_SECONDS=2 run_show SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/stream.raw"
"$DECODE_MUSIC" "$music" 44100 "$WORK/expected.raw" || fail "cannot decode the music"
expect_music "$WORK/stream.raw" "$WORK/expected.raw"
echo "music: ok"
