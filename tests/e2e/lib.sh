# Shared helpers for the end-to-end tests, which start the real executable on
# the test display; the checks they share with the release checks are in
# tests/support/checks.sh.
set -euo pipefail
VELMORA=${VELMORA:?path of the velmora executable}
. "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

# run_show [VAR=value ...]: starts the show, lets it run for ${RUN_SECONDS:-0}
# more seconds once its window is up, ends it with Escape and expects status 0.
run_show() {
    start_show "$@"
    wait_for_window
    sleep "${RUN_SECONDS:-0}"
    escape_show 60
    expect_status 0
}

# Line numbers of the quad's check sites, in order, from its source.
check_site_lines() {
    grep -n 'GL_CHECK_SITE();' "${QUAD_SOURCE:?path of Quad.cpp}" | grep -v '#define' | cut -d: -f1
}
