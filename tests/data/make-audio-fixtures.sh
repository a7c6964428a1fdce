#!/usr/bin/env bash
# Makes the small Ogg Vorbis streams the audio tests decode (committed; run
# again only to change them). Needs sox and vorbis-tools.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Half a second each: stereo with a different tone per channel, mono, and
# stereo at another sample rate.
sox -n -r 44100 -c 2 -b 16 "$tmp/stereo.wav" synth 0.5 sine 440 sine 660 gain -6
sox -n -r 44100 -c 1 -b 16 "$tmp/mono.wav" synth 0.5 sine 550 gain -6
sox -n -r 22050 -c 2 -b 16 "$tmp/rate.wav" synth 0.5 sine 330 sine 495 gain -6
oggenc -Q -q 3 -s 1 -o tone-stereo-44100.ogg "$tmp/stereo.wav"
oggenc -Q -q 3 -s 2 -o tone-mono-44100.ogg "$tmp/mono.wav"
oggenc -Q -q 3 -s 3 -o tone-stereo-22050.ogg "$tmp/rate.wav"
# Not Ogg at all.
printf 'This is not an Ogg Vorbis stream.\n' >not-vorbis.ogg
