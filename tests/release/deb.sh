#!/usr/bin/env bash
# The Debian package as a user gets it, on the current X display: unpacked
# into a scratch root, its layout and computed dependencies, then the
# program started through its link in bin: a window, a heart in a
# screenshot, and Escape ending it with status 0.
#
#   tests/release/deb.sh DEB
#
# Screenshots are kept in $VELMORA_SHOTS when that is set.
set -u
. "$(dirname "$0")/lib.sh"
deb=$(readlink -f "${1:?deb file}")
WORK=$(mktemp -d /tmp/velmora-deb-XXXXXX)
show_pid=
trap '[ -z "$show_pid" ] || kill -9 "$show_pid" 2>/dev/null; rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*"
    for f in out err; do
        [ -f "$WORK/$f" ] && { echo "--- std$f:"; cat "$WORK/$f"; }
    done
    exit 1
}

root=$WORK/root
dpkg-deb -x "$deb" "$root" || fail "cannot unpack $deb"
for file in usr/lib/velmora/velmora usr/lib/velmora/vert.vsh usr/lib/velmora/frag.fsh \
    usr/lib/velmora/heart.vsh usr/lib/velmora/heart.fsh usr/lib/velmora/dancing.ogg \
    usr/share/applications/velmora.desktop usr/share/icons/hicolor/256x256/apps/velmora.png \
    usr/share/doc/velmora/copyright usr/share/doc/velmora/changelog.gz; do
    [ -s "$root/$file" ] || fail "the package has no /$file"
done
[ "$(readlink "$root/usr/bin/velmora")" = ../lib/velmora/velmora ] ||
    fail "/usr/bin/velmora is not a relative link to the program"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsdl2 libglew libc6 libstdc++; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

# The link in bin is what a user starts; the data is found through it.
env SDL_AUDIODRIVER=dummy "$root/usr/bin/velmora" </dev/null >"$WORK/out" 2>"$WORK/err" &
show_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$show_pid" --name '^velmora innit$' 2>/dev/null | head -n 1)
[ -n "$window" ] || fail "no window titled \"velmora innit\" appeared"
sleep 2
shot=$WORK/shot.png
import -window root "$shot" || fail "no screenshot"
[ -z "${VELMORA_SHOTS:-}" ] || cp "$shot" "$VELMORA_SHOTS/deb-run.png"
xdotool key Escape
for _ in $(seq 100); do
    kill -0 "$show_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$show_pid" 2>/dev/null && fail "Escape did not end the show"
wait "$show_pid"
status=$?
show_pid=
[ "$status" -eq 0 ] || fail "exit status $status, expected 0"
grep -q 'Impossible to open' "$WORK/out" && fail "a shader file was not found"
seen=$(heart_in_screenshot "$shot") || fail "$seen"
echo "deb: ok (Depends: $depends)"
