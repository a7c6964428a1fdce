#!/usr/bin/env bash
# The Windows release as a user gets it, under Wine on the current X display:
# unpacked into a folder whose name is not ASCII, started from elsewhere, with
# SDL's disk audio driver. Checks what the zip holds, that the program needs
# only Windows' own DLLs, its console, its window, a heart in a screenshot,
# its music against the reference decode, Escape, and a refused audio device.
#
#   tests/release/windows-zip.sh ZIP DECODE_MUSIC_EXE
#
# DECODE_MUSIC_EXE is the Windows build of velmora_decode_music, so the
# reference comes from the same compiled decoder. Screenshots are kept in
# $VELMORA_SHOTS when that is set.
set -u
. "$(dirname "$0")/lib.sh"
zip=$(readlink -f "${1:?zip file}")
decode_music=$(readlink -f "${2:?velmora_decode_music.exe}")
wine_run=$(cd "$(dirname "$0")/../../scripts/release" && pwd)/wine-run
WORK=$(mktemp -d /tmp/velmora-windows-XXXXXX)
export VELMORA_WINE_DIR=${VELMORA_WINE_DIR:-$WORK/wine}
trap '"$wine_run" --stop; rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*"
    for f in out err; do
        [ -f "$WORK/$f" ] && { echo "--- std$f:"; cat "$WORK/$f"; }
    done
    exit 1
}

# Z:\ is the root of this machine's file system under Wine.
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# --- Contents -------------------------------------------------------------
folder="$WORK/José ♥"
mkdir -p "$folder"
(cd "$folder" && unzip -q "$zip") || fail "cannot unpack $zip"
name=$(basename "$zip" .zip)
show=$folder/$name
for file in velmora.exe vert.vsh frag.fsh heart.vsh heart.fsh dancing.ogg README.txt \
    licenses/velmora/LICENSE licenses/Dosis/OFL.txt licenses/SDL2/LICENSE.txt \
    licenses/GLEW/LICENSE.txt licenses/stb/copyright licenses/GLM/copyright \
    licenses/mingw-w64/copyright; do
    [ -s "$show/$file" ] || fail "the zip has no $name/$file"
done

# Static: every DLL the program imports is one that Windows itself has (Wine
# keeps a stand-in for each in system32).
"$wine_run" cmd /c exit 0 >/dev/null 2>&1 || fail "Wine does not start"
system32=$VELMORA_WINE_DIR/prefix/drive_c/windows/system32
x86_64-w64-mingw32-objdump -p "$show/velmora.exe" | sed -n 's/^\s*DLL Name: //p' >"$WORK/dlls"
[ -s "$WORK/dlls" ] || fail "no imports read from velmora.exe"
while read -r dll; do
    [ -e "$system32/${dll,,}" ] || fail "velmora.exe needs $dll, which is not part of Windows"
done <"$WORK/dlls"

# --- A run: window, picture, music, Escape -------------------------------------
run_pid=
# start_show VAR=value...: the show under Wine, from another folder than its own.
start_show() {
    (cd "$WORK" && env "$@" "$wine_run" "$show/velmora.exe" </dev/null >"$WORK/out" 2>"$WORK/err") &
    run_pid=$!
}
wait_for_exit() {
    local tenths=0
    while kill -0 "$run_pid" 2>/dev/null; do
        [ "$tenths" -ge $(($1 * 10)) ] && fail "the show did not end within $1 s"
        sleep 0.1
        tenths=$((tenths + 1))
    done
    wait "$run_pid"
    STATUS=$?
}

start_show SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$(windows_path "$WORK/stream.raw")"
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^velmora innit$' 2>/dev/null | head -n 1)
[ -n "$window" ] || fail "no window titled \"velmora innit\" appeared"
sleep 3
shot=$WORK/shot.png
import -window root "$shot" || fail "no screenshot"
[ -z "${VELMORA_SHOTS:-}" ] || cp "$shot" "$VELMORA_SHOTS/windows-run.png"
xdotool key Escape
wait_for_exit 20
[ "$STATUS" -eq 0 ] || fail "exit status $STATUS after Escape, expected 0"

seen=$(heart_in_screenshot "$shot") || fail "$seen"

# The console: both programs built from the files beside the executable in
# the non-ASCII folder. Wine's GL answers the extension query of a core
# context without an error, so no GL error line follows.
base="$(windows_path "$show")\\"
printf '%s\n' "Compiling shader : $base/vert.vsh" "Compiling shader : $base/frag.fsh" \
    "Linking program" "Compiling shader : $base/heart.vsh" "Compiling shader : $base/heart.fsh" \
    "Linking program" >"$WORK/expected"
diff -u "$WORK/expected" <(tr -d '\r' <"$WORK/out") || fail "standard output differs"
if grep -v -e '^CRITICAL: ' -e '^$' "$WORK/err" | grep -q .; then
    fail "unexpected lines on standard error"
fi

# The music: its first second as the decoder gives it, after at most a few
# silent buffers. (The reference decoder opens files the narrow way, so it
# gets a copy in an ASCII folder.)
cp "$show/dancing.ogg" "$WORK/reference.ogg"
(cd "$WORK" && "$wine_run" "$decode_music" reference.ogg 44100 expected.raw) ||
    fail "cannot decode the music"
found=
for buffers in 0 1 2 3 4 5 6 7 8; do
    if cmp -s -n 176400 -i "$((buffers * 4096)):0" "$WORK/stream.raw" "$WORK/expected.raw"; then
        found=$buffers
        break
    fi
done
[ -n "$found" ] || fail "the stream's first second is not the music"
[ -z "$(head -c "$((found * 4096))" "$WORK/stream.raw" | tr -d '\0')" ] || fail "noise before the music"

# --- A refused audio device: the audio line and a failure status --------------
start_show SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$(windows_path "$WORK/no-such-folder/x.raw")"
wait_for_exit 60
# main returns -1; Wine hands its low byte to this side.
[ "$STATUS" -eq 255 ] || fail "exit status $STATUS with the audio device refused, expected 255 (-1)"
grep -q "^Couldn't open audio: " "$WORK/err" || fail "no audio line on standard error"

echo "windows zip: ok ($(x86_64-w64-mingw32-objdump -p "$show/velmora.exe" | grep -c 'DLL Name') system DLLs, music from buffer $found)"
