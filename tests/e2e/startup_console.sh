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

# Without an executable directory the data files are looked for in the
# current directory, and one line says so.
NO_BASE_PATH=${NO_BASE_PATH:?path of the no-base-path preload}
data_dir=$(dirname "$(readlink -f "$VELMORA")")
cd "$data_dir"
start_show SDL_AUDIODRIVER=dummy LD_PRELOAD="$NO_BASE_PATH"
wait_for_window
xdotool key Escape
wait_for_exit 10
expect_status 0
[ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "expected one line on standard error"
grep -q 'current directory' "$WORK/err" || fail "the line does not say where the files are looked for"
grep -q '^Compiling shader : \./heart\.fsh$' "$WORK/out" || fail "shaders not taken from the current directory"
if grep -q 'Impossible to open' "$WORK/out"; then
    fail "a shader file was not found in the current directory"
fi
echo "no base path: ok"
