#!/usr/bin/env bash
# Makes the fuzz target's seed corpus: small valid Ogg Vorbis files of the
# shapes the decoder meets (committed; run again only to change them). Needs
# sox and vorbis-tools. Each is a few kilobytes, so one execution stays short,
# and long enough to pass the fuzz target's loop point. The music buffer tests
# play stereo-44100 as well (a different tone on each channel).
set -euo pipefail
cd "$(dirname "$0")/seeds"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
seed() { # NAME RATE CHANNELS SECONDS QUALITY [oggenc options...]
    local name=$1 rate=$2 channels=$3 seconds=$4 quality=$5
    shift 5
    local tones=()
    for ((c = 0; c < channels; c++)); do tones+=(sine $((300 + 110 * c))); done
    sox -n -r "$rate" -c "$channels" -b 16 "$tmp/$name.wav" synth "$seconds" "${tones[@]}" gain -6
    oggenc -Q -q "$quality" -s 7 "$@" -o "$name.ogg" "$tmp/$name.wav"
}
seed stereo-44100 44100 2 0.3 0
seed mono-8000 8000 1 0.6 -1
seed stereo-22050-comments 22050 2 0.3 2 -c "TITLE=seed" -c "ARTIST=velmora" -c "EMPTY="
seed surround-48000 48000 6 0.15 0
seed stereo-44100-high 44100 2 0.12 10
