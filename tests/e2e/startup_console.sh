#!/usr/bin/env bash
# What a normal start-up prints: the shader build lines, then the reports of
# the quad's check sites. The show runs installed, from the link in its bin
# directory: the base path follows the link to the data files.
. "$(dirname "$0")/lib.sh"
GL_ERRORS=${GL_ERRORS:?path of the glGetError preload}
NO_BASE_PATH=${NO_BASE_PATH:?path of the no-base-path preload}
cmake --install "${BUILD_DIR:?build directory}" --prefix "$WORK/prefix" >/dev/null || fail "install failed"
VELMORA=$WORK/prefix/bin/velmora
[ -L "$VELMORA" ] || fail "no link in bin"
data_dir=$(dirname "$(readlink -f "$VELMORA")")
mapfile -t sites < <(check_site_lines)
[ "${#sites[@]}" -eq 9 ] || fail "expected nine check sites in the quad's source"

# expect_output SITE_LINE...: the shader lines, then one report per site line.
expect_output() {
    {
        for pair in vert.vsh:frag.fsh heart.vsh:heart.fsh; do
            printf 'Compiling shader : %s/%s\n' "$data_dir/" "${pair%:*}" "$data_dir/" "${pair#*:}"
            echo "Linking program"
        done
        printf 'glError in file Quad.cpp @ line %s: XX\n' "$@"
    } >"$WORK/expected"
    diff -u "$WORK/expected" "$WORK/out" || fail "standard output differs"
}

# A core context refuses the extension query and leaves one error pending,
# which the first check site reports. Nothing on standard error: the music
# was found too.
run_show SDL_AUDIODRIVER=dummy
expect_output "${sites[0]}"
[ ! -s "$WORK/err" ] || fail "standard error is not empty"

# Nine errors pending one after another: each site reads one, once, so the
# two sites of the constructor and the seven of the first frame report one
# each, in order, and later frames report nothing.
run_show SDL_AUDIODRIVER=dummy LD_PRELOAD="$GL_ERRORS" VELMORA_GL_ERRORS=9
expect_output "${sites[@]}"
echo "startup console: ok"

# Without an executable directory the data files are looked for in the
# current directory, and one line says so.
cd "$data_dir"
run_show SDL_AUDIODRIVER=dummy LD_PRELOAD="$NO_BASE_PATH"
[ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "expected one line on standard error"
grep -q 'current directory' "$WORK/err" || fail "the line does not say where the files are looked for"
grep -q '^Compiling shader : \./heart\.fsh$' "$WORK/out" || fail "shaders not taken from the current directory"
! grep -q 'Impossible to open' "$WORK/out" || fail "a shader file was not found in the current directory"
echo "no base path: ok"
