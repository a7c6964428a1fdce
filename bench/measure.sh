#!/usr/bin/env bash
# The measuring half of scripts/bench: runs on a display, with the programs
# built in BUILD_DIR, and prints the table on standard output.
#
#   bench/measure.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
work=$(mktemp -d /tmp/velmora-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy
cycle_seconds=112
startup_runs=5
memory_seconds=10

# step NAME COMMAND...: runs one measurement, its messages kept aside; on
# failure shows them and stops.
step() {
    local name=$1
    shift
    echo "$name..." >&2
    "$@" 2>"$work/messages" || {
        echo "bench: $name failed:" >&2
        tail -n 20 "$work/messages" >&2
        exit 1
    }
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
step "measuring frames" "$build/velmora_bench" frames >"$work/frames"
step "measuring the audio callback" "$build/velmora_bench" sound >"$work/sound"

echo "measuring start-up..." >&2
for _ in $(seq "$startup_runs"); do
    started=$(date +%s%N)
    LD_PRELOAD=$build/libvelmora_first_swap.so "$build/velmora" 2>&1 >/dev/null |
        awk -v s="$started" '/^first-swap / { printf "%.0f\n", ($2 - s) / 1e6 }'
done | sort -n >"$work/startup"

echo "measuring memory over $memory_seconds s of the show..." >&2
# SDL turns SIGTERM into a quit request: the show ends normally. (time's
# last line is the figure; a line about timeout's status may come first.)
/usr/bin/time -f '%M' -o "$work/memory" timeout -s TERM "$memory_seconds" "$build/velmora" >/dev/null 2>&1 || true

step "counting instructions with callgrind (slow)" valgrind --tool=callgrind \
    --callgrind-out-file="$work/count.%p" "$build/velmora_bench" count >/dev/null
step "recording one cycle" /usr/bin/time -f '%e %U %S %M' -o "$work/record" \
    "$build/velmora-record" "$work/cycle.mp4" >/dev/null
# Again, its frames through a pipe into the flash check (apart from the timed
# run, which the check would slow down).
step "checking one cycle for flashes" "$build/velmora-record" \
    --raw-frames >("$build/velmora_flash_check" - >"$work/flashes" 2>&1) "$work/flashes.mp4" >/dev/null
wait $! || true # the verdict is in its report
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# --- The table.
floor=$(awk '$2 == "floor" { print $3 }' "$work/frames")
# instructions PHASE: callgrind's total for the dump named after the phase.
# "totals" adds up every thread's own instructions since the zeroing; the
# "summary" line also charges the raster threads' already running start
# functions, so it is not used.
instructions() {
    local file
    file=$(grep -l "^desc: Trigger: Client Request: $1\$" "$work"/count.* | head -n 1)
    awk '/^totals:/ { printf "%.1f M", $2 / 1e6; exit }' "$file"
}
cpu_model=$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')
renderer=$(sed -n 's/^renderer //p' "$work/frames")
read -r record_wall record_user record_system record_memory <"$work/record"

echo "Machine: $cpu_model, $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo); $renderer."
echo "Load average (1, 5, 15 min) before: $load_before; after: $load_after."
echo
echo "| figure | median | p99 | against |"
echo "|---|---|---|---|"
echo "| floor: clear and swap, 800x600 | $floor ms | $(awk '$2 == "floor" { print $4 }' "$work/frames") ms | 1 |"
for phase in opening:2.0 greeting:12.3 closing:22.0 no-text:10.0; do
    name=${phase%%:*}
    awk -v n="$name" -v t="${phase#*:}" -v f="$floor" '$2 == n {
        printf "| renderFrame, %s (t = %s) | %s ms | %s ms | %.1f x floor |\n", n, t, $3, $4, $3 / f }' "$work/frames"
done
read -r _ buffers sound_median sound_p99 sound_worst sound_loop <"$work/sound"
echo "| audio callback, 4096-byte buffer ($buffers buffers, the whole piece) | $sound_median ms | $sound_p99 ms | worst $sound_worst ms (the loop's seek $sound_loop ms) of a 23.2 ms budget |"
echo "| start-up to the first swap ($startup_runs runs) | $(sed -n "$(((startup_runs + 1) / 2))p" "$work/startup") ms | | slowest $(tail -n 1 "$work/startup") ms |"
echo "| peak resident memory, $memory_seconds s of the show | $(tail -n 1 "$work/memory" | awk '{ printf "%.0f MB", $1 / 1024 }') | | |"
awk -v w="$record_wall" -v u="$record_user" -v s="$record_system" -v c="$cycle_seconds" -v m="$record_memory" 'BEGIN {
    printf "| recorder, one %d s cycle at 60 fps | %.1f s wall | | %.2f x real time; %.0f s CPU (recorder and encoder); %.0f MB peak |\n",
        c, w, w / c, u + s, m / 1024 }'
echo
echo "| one frame, instructions (callgrind) | floor | opening | greeting | closing | no-text |"
echo "|---|---|---|---|---|---|"
echo "| all threads, glFinish included | $(instructions floor) | $(instructions opening) | $(instructions greeting) | $(instructions closing) | $(instructions no-text) |"
echo
# flash FIGURE: the number that the flash check reports for FIGURE.
flash() { sed -n "s/^$1: \([0-9.]*\).*/\1/p" "$work/flashes"; }
echo "| flashes, one cycle at 60 fps (a 10-degree field is half the picture each way) | general | red |"
echo "|---|---|---|"
echo "| most a second over a quarter of a field (at most 3) | $(flash "flashes a second over a quarter of a field") | $(flash "red flashes a second over a quarter of a field") |"
echo "| share of the screen flashing within a second | $(flash "screen flashing within a second") % | $(flash "screen flashing red within a second") % |"
echo "| most a second at one spot | $(flash "flashes a second at the busiest spot") | $(flash "red flashes a second at the busiest spot") |"
echo "| the check | $(tail -n 1 "$work/flashes" | cut -d' ' -f1) | |"
