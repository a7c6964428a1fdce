#!/usr/bin/env bash
# Bad inputs, one row each: damaged data files, unusual standard streams, no
# display, a GL or an audio device the show cannot use, and signals. Every
# row gives the exit status the README states and its message, within its
# timeout; nothing crashes and nothing hangs.
. "$(dirname "$0")/lib.sh"
NO_GL_FUNCTIONS=${NO_GL_FUNCTIONS:?path of the no-GL-functions preload}
REGRESSIONS=${REGRESSIONS:?directory of the regression inputs of the fuzz target}
data=$(dirname "$(readlink -f "$VELMORA")")
show=$WORK/show

# A fresh copy of the executable and its data files, for a row to damage.
fresh() {
    rm -rf "$show"
    mkdir "$show"
    cp "$VELMORA" "$data"/*.vsh "$data"/*.fsh "$data/dancing.ogg" "$show/"
}

# Deterministic bytes that look random (gzip stops early on purpose).
noise() { gzip -n -c "$VELMORA" | head -c "$1" || true; }

# The piece with a 32-bit word of its comment header set to VALUE: the
# vendor string's length, which follows "\x03vorbis", or the comment count,
# which follows the vendor string.
edit_comment_header() { # vendor-length|comment-count VALUE
    local file=$show/dancing.ogg header at
    header=$(grep -a -b -o -m 1 $'\x03vorbis' "$file" | cut -d: -f1)
    at=$((header + 7))
    if [ "$1" = comment-count ]; then
        at=$((at + 4 + $(od -A n -t u4 -j "$at" -N 4 "$file")))
    fi
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($2 & 255)) $(($2 >> 8 & 255)) \
        $(($2 >> 16 & 255)) $(($2 >> 24 & 255)))" |
        dd of="$file" bs=1 seek="$at" conv=notrunc status=none
}

# row NAME STATUS STREAM PATTERN ENDING [VAR=value ...]
# Runs the copy in $show. ENDING is "exits" for a run that ends by itself,
# or the signal (TERM, INT, KILL) sent once the window is up; SIGTERM ends a
# run the way a quit does. STREAM (out or err) must then hold a line
# matching PATTERN (grep -E); the pattern "-" wants standard error empty, and
# "-|P" empty or holding P. Standard input is empty unless STDIN=closed;
# standard error is a file unless STDERR=closed; OPEN_FILES=N allows the
# show that many open files. The signal goes once the
# window is up, or, with AWAIT=REGEX, once a console line matches (a run
# without a window of its own; a line that must come before the end).
row() {
    local name=$1 status=$2 stream=$3 pattern=$4 ending=$5
    shift 5
    # SIGINT as a terminal sends it (a background job would ignore it),
    # silent audio unless the row says otherwise; a row may also unset.
    local start=(env --default-signal=INT SDL_AUDIODRIVER=dummy env "$@" "$show/velmora")
    if [ -n "${OPEN_FILES:-}" ]; then
        # Only the standard descriptors: what the test runner leaves open
        # (its log) would take the show's first numbers.
        start=(bash -c 'for fd in /proc/$$/fd/*; do fd=${fd##*/}; [ "$fd" -le 2 ] || eval "exec $fd>&-"
               done; exec prlimit --nofile="$0:$0" -- "$@"' "$OPEN_FILES" "${start[@]}")
    fi
    # Emptied here: the job below truncates them itself, maybe only after the
    # first look for its lines.
    : >"$WORK/out"
    : >"$WORK/err"
    case ${STDIN:-}/${STDERR:-} in
    closed/*) "${start[@]}" <&- >"$WORK/out" 2>"$WORK/err" & ;;
    */closed) "${start[@]}" </dev/null >"$WORK/out" 2>&- & ;;
    *) "${start[@]}" </dev/null >"$WORK/out" 2>"$WORK/err" & ;;
    esac
    SHOW_PID=$!
    if [ "$ending" != exits ]; then
        # A kill stands for a crash once start-up has printed everything:
        # its last line is the quad's first check.
        local await=${AWAIT:-}
        [ "$ending" != KILL ] || await='^glError in file Quad.cpp'
        if [ -z "$await" ]; then
            find_window 60 --pid "$SHOW_PID" >/dev/null || fail "$name: no window appeared"
        fi
        local tenths=0
        while [ -n "$await" ] && ! cat "$WORK/out" "$WORK/err" | grep -q -E "$await"; do
            [ $((tenths += 1)) -le 600 ] || fail "$name: no line matching '$await' came"
            sleep 0.1
        done
        # A closed standard descriptor must not be a file the show opened
        # itself (the X connection would be next in line).
        local pair number setting
        for pair in 0:STDIN 2:STDERR; do
            number=${pair%:*} setting=${pair#*:}
            if [ "${!setting:-}" = closed ] &&
                [ "$(readlink "/proc/$SHOW_PID/fd/$number")" != /dev/null ]; then
                fail "$name: descriptor $number is $(readlink "/proc/$SHOW_PID/fd/$number")"
            fi
        done
        kill -s "$ending" "$SHOW_PID"
    fi
    wait_for_exit 20
    [ "$STATUS" -eq "$status" ] || fail "$name: exit status $STATUS, expected $status"
    case $pattern in
    -) [ ! -s "$WORK/err" ] || fail "$name: standard error is not empty" ;;
    -\|*) [ ! -s "$WORK/err" ] || grep -q -E "${pattern#-|}" "$WORK/err" ||
        fail "$name: standard error holds neither nothing nor '${pattern#-|}'" ;;
    *) grep -q -E "$pattern" "$WORK/$stream" || fail "$name: no line matching '$pattern' on std$stream" ;;
    esac
    echo "ok: $name ($STATUS)"
}

# Shader files. A missing vertex file is reported and the program left
# unbuilt; anything else reaches the driver, whose log says what is wrong.
for file in vert.vsh frag.fsh heart.vsh heart.fsh; do
    case $file in
    *.vsh) missing="^Impossible to open $show/+$file\. Are you in the right directory" ;;
    *) missing="error" ;;
    esac
    fresh; rm "$show/$file";                  row "$file missing" 0 out "$missing" TERM
    fresh; : >"$show/$file";                  row "$file empty" 0 out "error" TERM
    fresh; noise 300 >"$show/$file";          row "$file garbage" 0 out "error" TERM
    fresh; echo 'void main() { nothing = 1; }' >"$show/$file"
                                              row "$file non-compiling" 0 out "error" TERM
    # Not a regular file: as if it could not be opened (a FIFO with no
    # writer would hold the open for ever).
    case $file in
    *.vsh) unusable=$missing ;;
    *) unusable="error" ;;
    esac
    fresh; rm "$show/$file"; mkdir "$show/$file"
                                              row "$file a directory" 0 out "$unusable" TERM
    fresh; rm "$show/$file"; mkfifo "$show/$file"
                                              row "$file a FIFO" 0 out "$unusable" TERM
done
# Far larger than any shader: refused with a line, not handed to the driver.
fresh; truncate -s 200M "$show/heart.fsh";    row "heart.fsh of 200 MB" 0 out "^Shader file $show/+heart\.fsh is over 1 MiB; not read$" TERM

# The music: whatever cannot be played is reported like a missing file and
# the show runs in silence; a file cut short plays what it has.
silent="^Couldn't open music $show/+dancing\.ogg"
fresh; rm "$show/dancing.ogg";                row "music missing" 0 err "$silent" TERM
fresh; : >"$show/dancing.ogg";                row "music empty" 0 err "$silent" TERM
fresh; head -c 300000 "$data/dancing.ogg" >"$show/dancing.ogg"
                                              row "music truncated" 0 err - TERM
fresh; noise 100000 >"$show/dancing.ogg";     row "music random" 0 err "$silent" TERM
fresh; { printf 'RIFF\x24\x10\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00'
         printf '\x10\xb1\x02\x00\x04\x00\x10\x00data\x00\x10\x00\x00'; head -c 4096 /dev/zero; } >"$show/dancing.ogg"
                                              row "music a WAV file, not Vorbis" 0 err "$silent" TERM
fresh; rm "$show/dancing.ogg"; mkdir "$show/dancing.ogg"
                                              row "music a directory" 0 err "$silent" TERM
fresh; rm "$show/dancing.ogg"; mkfifo "$show/dancing.ogg"
                                              row "music a FIFO" 0 err "$silent" TERM
# Every read fails (EIO); file permissions would not stop root.
fresh; ln -sf /proc/self/mem "$show/dancing.ogg"
                                              row "music unreadable" 0 err "$silent" TERM
fresh; edit_comment_header vendor-length 0x7FFFFF00; row "music vendor length 0x7FFFFF00" 0 err "$silent" TERM
fresh; edit_comment_header comment-count 0x10000000; row "music comment count 0x10000000" 0 err "$silent" TERM
for finding in "$REGRESSIONS"/*; do
    fresh; cp "$finding" "$show/dancing.ogg"
    row "music $(basename "$finding")" 0 err "-|$silent" TERM
done

# Standard input at its end or closed while the vertex file is missing: the
# read after the message returns at once, the show goes on without text.
vertex_missing="^Impossible to open $show/+vert\.vsh"
fresh; rm "$show/vert.vsh";                   row "stdin at its end, vertex file missing" 0 out "$vertex_missing" TERM
fresh; rm "$show/vert.vsh"; STDIN=closed      row "stdin closed, vertex file missing" 0 out "$vertex_missing" TERM
# Standard error closed while the show has things to say there: they must not
# go into the display connection, which would take descriptor 2.
fresh; rm "$show/dancing.ogg"; STDERR=closed  row "stderr closed, music missing" 0 out "^Linking program$" TERM

# What the machine lacks: a display, SDL drivers, GL functions, an audio
# device.
no_display="^No display: SDL found none"
fresh; row "no display" 1 err "$no_display" exits -u DISPLAY
fresh; row "a display that is not there" 1 err '^No display: SDL could not open ":99\.7"' exits DISPLAY=:99.7
fresh; OPEN_FILES=4 row "four open files at most" 1 err "^No display: .*\(the process may open only 4 files at a time\)$" exits
fresh; row "unknown video driver" 1 err "^SDL_Init\(\) failed: " exits SDL_VIDEODRIVER=no-such-driver
fresh; row "unknown audio driver" 1 err "^SDL_Init\(\) failed: " exits SDL_AUDIODRIVER=no-such-driver
fresh; row "no GL functions" 1 err "^No OpenGL 3\.3: gl[A-Za-z]+ is missing$" exits LD_PRELOAD="$NO_GL_FUNCTIONS"
fresh; row "OpenGL 3.0 only" 1 err "^Couldn't create an OpenGL 3\.3 core context: ." exits MESA_GL_VERSION_OVERRIDE=3.0
fresh; OPEN_FILES=6 row "six open files at most" 1 err "^Couldn't create the window: .*\(the process may open only 6 files at a time\)$" exits
# A driver asked for by name is used, even one that shows nothing.
fresh; AWAIT='^glError in file Quad.cpp' row "the offscreen driver, asked for" 0 err "-|^Error: " TERM SDL_VIDEODRIVER=offscreen
refused=(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/nonexistent-dir/velmora.raw)
fresh; row "audio device refused" 255 err "^Couldn't open audio: " exits "${refused[@]}"
# ...after everything else was built, and without drawing a frame.
[ "$(grep -c '^Linking program$' "$WORK/out")" -eq 2 ] || fail "audio refused: both programs were not built"
grep -q '^glError in file Quad.cpp' "$WORK/out" || fail "audio refused: the quad was not built"
if command -v apitrace >/dev/null; then
    (cd "$WORK" && env "${refused[@]}" apitrace trace -o run.trace "$VELMORA" </dev/null >/dev/null 2>&1) || true
    apitrace dump "$WORK/run.trace" 2>/dev/null >"$WORK/calls"
    grep -q 'glBufferData(target = GL_ARRAY_BUFFER, size = 48' "$WORK/calls" || fail "trace has no quad upload"
    ! grep -q -E 'glClear\(|SwapBuffers' "$WORK/calls" || fail "audio refused: a frame was drawn"
fi

# The audio device lost while the show runs (its output fails): said once,
# and the show goes on.
fresh; AWAIT="^Lost the audio device; the show goes on in silence$" \
    row "audio device lost" 0 err "^Lost the audio device" TERM SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/full

# Signals while running (SIGTERM ended every row above): SIGINT ends the
# show like a quit; after a kill, the console printed so far is in the
# file, each line as it came.
fresh; row "SIGINT" 0 err - INT
fresh; row "SIGKILL, console kept" 137 out "^Linking program$" KILL
echo "bad inputs: ok"
