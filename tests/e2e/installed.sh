#!/usr/bin/env bash
# An installation runs from a link in its bin directory: the base path
# follows the link to the directory that holds the data files.
. "$(dirname "$0")/lib.sh"
BUILD_DIR=${BUILD_DIR:?build directory}

cmake --install "$BUILD_DIR" --prefix "$WORK/prefix" >/dev/null || fail "install failed"
[ -L "$WORK/prefix/bin/velmora" ] || fail "no link in bin"
real_dir=$(dirname "$(readlink -f "$WORK/prefix/bin/velmora")")

VELMORA="$WORK/prefix/bin/velmora"
run_show SDL_AUDIODRIVER=dummy
for f in vert.vsh frag.fsh heart.vsh heart.fsh dancing.ogg; do
    [ -f "$real_dir/$f" ] || fail "$f is not installed beside the executable"
done
grep -q "^Compiling shader : $real_dir//heart.fsh\$" "$WORK/out" || fail "data not found beside the real file"
! grep -q 'Impossible to open' "$WORK/out" || fail "a shader file was not found"
echo "installed: ok"
