#!/usr/bin/env bash
# What a normal start-up prints: the shader build lines and the one GL error
# that a core context's extension query leaves for the quad's first check.
. "$(dirname "$0")/lib.sh"
QUAD_SOURCE=${QUAD_SOURCE:?path of Quad.cpp}

start_show SDL_AUDIODRIVER=dummy
wait_for_window
xdotool key Escape
wait_for_exit 10
expect_status 0

dir=$(dirname "$(readlink -f "$VELMORA")")/
site=$(grep -n 'GL_CHECK_SITE();' "$QUAD_SOURCE" | grep -v '#define' | head -n 1 | cut -d: -f1)
cat >"$WORK/expected" <<END
Compiling shader : ${dir}/vert.vsh
Compiling shader : ${dir}/frag.fsh
Linking program
Compiling shader : ${dir}/heart.vsh
Compiling shader : ${dir}/heart.fsh
Linking program
glError in file Quad.cpp @ line ${site}: XX
END
diff -u "$WORK/expected" "$WORK/out" || fail "standard output differs"
[ ! -s "$WORK/err" ] || fail "standard error is not empty"
echo "startup console: ok"
