#!/usr/bin/env bash
# Makes the small Ogg Vorbis stream the audio tests decode (committed; run
# again only to change them). Needs sox and vorbis-tools.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Half a second of stereo with a different tone per channel.
sox -n -r 44100 -c 2 -b 16 "$tmp/stereo.wav" synth 0.5 sine 440 sine 660 gain -6
oggenc -Q -q 3 -s 1 -o tone-stereo-44100.ogg "$tmp/stereo.wav"
