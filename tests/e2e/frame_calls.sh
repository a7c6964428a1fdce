#!/usr/bin/env bash
# The GL calls of one whole frame, recorded with apitrace while the show's
# timer is held at a chosen moment: a greeting of three glyphs, then the one
# millisecond at t = 10 that draws no text.
. "$(dirname "$0")/lib.sh"
FAKE_TICKS=${FAKE_TICKS:?path of the fake-ticks preload}
wrapper=$(dpkg -L apitrace-tracers apitrace 2>/dev/null | grep '/glxtrace.so$' | head -n 1) || true
[ -n "$wrapper" ] || fail "apitrace's GLX wrapper is not installed"

# Calls of the second frame of a traced run at $1 milliseconds.
frame_calls() {
    local trace="$WORK/run-$1.trace"
    # A second to draw a few frames even when built with the sanitizers.
    RUN_SECONDS=1 run_show SDL_AUDIODRIVER=dummy VELMORA_FAKE_TICKS="$1" TRACE_FILE="$trace" \
        LD_PRELOAD="$wrapper:$FAKE_TICKS"
    apitrace dump --call-nos=no "$trace" 2>/dev/null |
        awk '/glXSwapBuffers/ { frame++; next } frame == 2' >"$WORK/frame-$1"
}

background="glClear glUseProgram glUniform1f glBindVertexArray glEnableVertexAttribArray glBindBuffer glUseProgram glDrawArrays glBindVertexArray"
text_setup="glUseProgram glEnable glBlendFunc glUniformMatrix4fv"
glyph="glBufferData glVertexAttribPointer glDrawArrays"

# 50000 ms: t = 11.5, the second name, "Mox".
frame_calls 50000
expected="$background $text_setup glPolygonMode glActiveTexture glBindTexture glTexImage2D glBindSampler glBindVertexArray glEnableVertexAttribArray glBindBuffer glUseProgram glUniform1i $glyph $glyph $glyph glBindTexture glUseProgram glDisableVertexAttribArray glBindBuffer"
actual=$(sed 's/(.*//' "$WORK/frame-50000" | xargs)
[ "$actual" = "$expected" ] || fail "frame calls differ:
expected: $expected
actual:   $actual"
[ "$(grep -c 'glBufferData(target = GL_ARRAY_BUFFER, size = 96, .*GL_DYNAMIC_DRAW)' "$WORK/frame-50000")" -eq 3 ] ||
    fail "glyph buffers are not 96 bytes of dynamic data"
grep -q 'glTexImage2D(target = GL_TEXTURE_2D, level = 0, internalformat = GL_R8, width = 256, height = 256, border = 0, format = GL_RED, type = GL_UNSIGNED_BYTE' "$WORK/frame-50000" ||
    fail "atlas upload differs"
grep -q 'glUniform1f(location = 0, v0 = 11.5)' "$WORK/frame-50000" || fail "the background gets another time"
grep -q 'glUniformMatrix4fv(.*count = 1, transpose = GL_FALSE, value = {1.34444' "$WORK/frame-50000" ||
    fail "mvp upload differs"
# The text pass leaves no texture, program or array buffer behind.
tail -n 4 "$WORK/frame-50000" | diff - <(printf '%s\n' \
    'glBindTexture(target = GL_TEXTURE_2D, texture = 0)' 'glUseProgram(program = 0)' \
    'glDisableVertexAttribArray(index = 0)' 'glBindBuffer(target = GL_ARRAY_BUFFER, buffer = 0)') ||
    fail "the text pass leaves state behind"

# 44000 ms: t = 10 exactly, no text; blending and the matrix all the same.
frame_calls 44000
actual=$(sed 's/(.*//' "$WORK/frame-44000" | xargs)
[ "$actual" = "$background $text_setup" ] || fail "frame at t = 10 draws more than the background: $actual"
echo "frame calls: ok"
