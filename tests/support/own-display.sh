#!/usr/bin/env bash
# Runs a command on a virtual 800x600 display of its own (Xvfb), which ends
# with it:
#
#   tests/support/own-display.sh COMMAND [ARG...]
#
# The end-to-end scripts each run on one, so they can run side by side: each
# takes screenshots of the whole screen and sends keys to whatever window has
# the focus, which on a shared display would be another script's show.
# Xvfb picks a free display number itself (-displayfd), so displays started
# at the same moment never collide. It does not reset when its last client
# leaves (-noreset): a show that connects while the server resets after the
# one before it is refused. Exits with the command's status, or 1
# when the display does not start within a minute.
set -u
folder=$(mktemp -d /tmp/velmora-display-XXXXXX)
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$folder/number" 2>"$folder/log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$folder"' EXIT
# The number is written, with its newline, once the server takes clients.
for _ in $(seq 600); do
    [ "$(wc -l <"$folder/number")" -eq 0 ] || break
    kill -0 "$server" 2>/dev/null || { cat "$folder/log" >&2; echo "own-display: Xvfb ended" >&2; exit 1; }
    sleep 0.1
done
[ "$(wc -l <"$folder/number")" -ge 1 ] || { echo "own-display: no display within a minute" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$folder/number")" "$@"
