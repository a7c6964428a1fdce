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
zip=$(readlink -f "${1:?zip file}")
decode_music=$(readlink -f "${2:?velmora_decode_music.exe}")
wine_run=$(cd "$(dirname "$0")/../../scripts/release" && pwd)/wine-run
. "$(dirname "$0")/../support/checks.sh"
export VELMORA_WINE_DIR=${VELMORA_WINE_DIR:-$WORK/wine}
trap '"$wine_run" --stop; cleanup' EXIT

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
# start_show VAR=value...: the show under Wine, from another folder than its own.
start_show() {
    (cd "$WORK" && env "$@" "$wine_run" "$show/velmora.exe" </dev/null >"$WORK/out" 2>"$WORK/err") &
    SHOW_PID=$!
}

start_show SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$(windows_path "$WORK/stream.raw")"
# Wine starts slowly on a busy machine: a minute and more beside CI's other
# builds.
if ! find_window 180 >/dev/null; then
    # What was there instead: the display's windows and Wine's processes.
    xwininfo -root -tree 2>&1 | grep -v -E '^\s*$' | head -n 30
    ps -eo pid,stat,etime,time,args | grep -i -E '[w]ine|[.]exe' | cut -c1-200
    fail "no window titled \"velmora innit\" appeared"
fi
sleep 3
shot=$WORK/shot.png
import -window root "$shot" || fail "no screenshot"
[ -z "${VELMORA_SHOTS:-}" ] || cp "$shot" "$VELMORA_SHOTS/windows-run.png"
escape_show 60
expect_status 0
expect_heart "$shot"

# The console: both programs built from the files beside the executable in
# the non-ASCII folder. Wine's GL answers the extension query of a core
# context without an error, so no GL error line follows.
base="$(windows_path "$show")\\"
printf '%s\n' "Compiling shader : $base/vert.vsh" "Compiling shader : $base/frag.fsh" \
    "Linking program" "Compiling shader : $base/heart.vsh" "Compiling shader : $base/heart.fsh" \
    "Linking program" >"$WORK/expected"
diff -u "$WORK/expected" <(tr -d '\r' <"$WORK/out") || fail "standard output differs"
if grep -q -v -e '^CRITICAL: ' -e '^$' "$WORK/err"; then
    fail "unexpected lines on standard error"
fi

# The music: its first second as the decoder gives it, after at most a few
# silent buffers. (The reference decoder opens files the narrow way, so it
# gets a copy in an ASCII folder.)
cp "$show/dancing.ogg" "$WORK/reference.ogg"
(cd "$WORK" && "$wine_run" "$decode_music" reference.ogg 44100 expected.raw) ||
    fail "cannot decode the music"
expect_music "$WORK/stream.raw" "$WORK/expected.raw"

# --- A refused audio device: the audio line and a failure status --------------
start_show SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$(windows_path "$WORK/no-such-folder/x.raw")"
wait_for_exit 60
# main returns -1; Wine hands its low byte to this side.
[ "$STATUS" -eq 255 ] || fail "exit status $STATUS with the audio device refused, expected 255 (-1)"
grep -q "^Couldn't open audio: " "$WORK/err" || fail "no audio line on standard error"

echo "windows zip: ok ($(x86_64-w64-mingw32-objdump -p "$show/velmora.exe" | grep -c 'DLL Name') system DLLs, music from buffer $MUSIC_FROM)"
