#!/usr/bin/env bash
# Start-up failures: their one line on standard error and their exit status.
. "$(dirname "$0")/lib.sh"

# No SDL: an unknown video driver, then an unknown audio driver (SDL starts
# audio with everything else).
for variable in SDL_VIDEODRIVER SDL_AUDIODRIVER; do
    start_show "$variable=no-such-driver"
    wait_for_exit 20
    expect_status 1
    grep -q '^SDL_Init() failed: ' "$WORK/err" || fail "$variable: no SDL_Init line"
    [ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "$variable: more than one line on standard error"
    [ ! -s "$WORK/out" ] || fail "$variable: standard output is not empty"
done

# An audio device that cannot be opened: everything else is built first, the
# line goes to standard error, the status is 255 and no frame is drawn.
refused=(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/nonexistent-dir/velmora.raw)
start_show "${refused[@]}"
wait_for_exit 20
expect_status 255
grep -q "^Couldn't open audio: " "$WORK/err" || fail "no audio line"
[ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "more than one line on standard error"
[ "$(grep -c '^Linking program$' "$WORK/out")" -eq 2 ] || fail "both programs were not built"
grep -q '^glError in file Quad.cpp' "$WORK/out" || fail "the quad was not built"

if command -v apitrace >/dev/null; then
    # The show ends with status 255 here; the trace is what matters.
    (cd "$WORK" && env "${refused[@]}" apitrace trace -o run.trace "$VELMORA" </dev/null >/dev/null 2>&1) || true
    apitrace dump "$WORK/run.trace" 2>/dev/null >"$WORK/calls"
    grep -q 'glBufferData(target = GL_ARRAY_BUFFER, size = 48' "$WORK/calls" || fail "trace has no quad upload"
    if grep -q -E 'glClear\(|SwapBuffers' "$WORK/calls"; then
        fail "a frame was drawn"
    fi
fi
echo "startup failures: ok"
