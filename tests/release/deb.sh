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
deb=$(readlink -f "${1:?deb file}")
. "$(dirname "$0")/../support/checks.sh"

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
VELMORA=$root/usr/bin/velmora
start_show SDL_AUDIODRIVER=dummy
wait_for_window
sleep 2
shot=$WORK/shot.png
import -window root "$shot" || fail "no screenshot"
[ -z "${VELMORA_SHOTS:-}" ] || cp "$shot" "$VELMORA_SHOTS/deb-run.png"
escape_show 60
expect_status 0
! grep -q 'Impossible to open' "$WORK/out" || fail "a shader file was not found"
expect_heart "$shot"
echo "deb: ok (Depends: $depends)"
