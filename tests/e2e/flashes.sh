#!/usr/bin/env bash
# Flash safety on a short recording of the opening (the line of light, the
# light filling the heart, its first beats): the frames go from the recorder
# through a named pipe into the flash check, which must pass them with room to
# spare. bench/measure.sh checks a whole cycle the same way.
. "$(dirname "$0")/lib.sh"
RECORDER=${RECORDER:?path of velmora-record}
FLASH_CHECK=${FLASH_CHECK:?path of velmora_flash_check}
seconds=10
fps=60

mkfifo "$WORK/frames"
"$FLASH_CHECK" --fps "$fps" "$WORK/frames" >"$WORK/out" 2>"$WORK/check-err" &
check=$!
"$RECORDER" --seconds "$seconds" --fps "$fps" --raw-frames "$WORK/frames" "$WORK/clip.mp4" \
    </dev/null >/dev/null 2>"$WORK/err" || fail "the recording failed"
status=0
wait "$check" || status=$?
[ "$status" -eq 0 ] || fail "the flash check did not pass ($status): $(cat "$WORK/check-err")"
grep -q "^frames: $((seconds * fps)) " "$WORK/out" || fail "the check did not see every frame"

# figure TEXT: the number after "TEXT: " in the check's report.
figure() { sed -n "s/^$1: \([0-9.]*\).*/\1/p" "$WORK/out"; }
at_most() { awk -v v="$1" -v most="$2" 'BEGIN { exit !(v != "" && v <= most) }'; }
# Headroom: at least half a flash a second under the limit of three, and the
# red of the beat on at most a tenth of the screen.
for kind in "flashes" "red flashes"; do
    value=$(figure "$kind a second over a quarter of a field")
    at_most "$value" 2.5 || fail "$kind a second over a quarter of a field: ${value:-none}"
done
value=$(figure "screen flashing red within a second")
at_most "$value" 10 || fail "red flashes over ${value:-no}% of the screen"
