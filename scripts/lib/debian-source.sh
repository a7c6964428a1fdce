# Sourced by the release scripts: fetches Debian's own source packages, so that
# the libraries cross-built for other platforms are the versions the show uses
# here.
#
#   source_version PACKAGE       prints the source version of an installed
#                                binary package (for cache keys)
#   fetch_debian_source SRC DIR  downloads source package SRC and unpacks it
#                                into DIR/SRC; prints that folder
#
# The download needs a deb-src entry. It is added for the download only, with
# the URIs and suites of the machine's own Debian entries, and removed again
# afterwards, also when the download fails.

source_version() {
    dpkg-query -W -f='${source:Version}' "$1"
}

_as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The machine's Debian entries as deb-src entries, in deb822 form.
_debian_deb_src_entries() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        # Stanzas are separated by blank lines; keep those on debian.org.
        awk -v RS= '/debian\.org/ { sub(/Types:[^\n]*/, "Types: deb-src"); print; print "" }' "$f"
    done
    if [ -f /etc/apt/sources.list ]; then
        sed -n -E 's#^deb (\[[^]]*\] )?(https?://[^ ]*debian\.org[^ ]*) ([^ ]+) (.*)$#Types: deb-src\nURIs: \2\nSuites: \3\nComponents: \4\n#p' \
            /etc/apt/sources.list
    fi
}

fetch_debian_source() (
    set -euo pipefail
    local package=$1 dir=$2
    local entry=/etc/apt/sources.list.d/velmora-deb-src-$$.sources
    mkdir -p "$dir"
    # One fetch at a time (CI builds the browser's and Windows' libraries
    # side by side): apt-get update does not wait for another's lock.
    exec 9>"${TMPDIR:-/tmp}/velmora-debian-source.lock"
    flock 9
    _debian_deb_src_entries | _as_root tee "$entry" >/dev/null
    trap '_as_root rm -f "$entry"; _as_root apt-get -o DPkg::Lock::Timeout=600 update -qq >/dev/null 2>&1 || true' EXIT
    _as_root apt-get -o DPkg::Lock::Timeout=600 update -qq >&2
    (cd "$dir" && apt-get source --download-only -qq "$package") >&2
    local dsc
    dsc=$(ls -t "$dir"/"$package"_*.dsc | head -n 1)
    rm -rf "${dir:?}/$package"
    dpkg-source --no-check -x "$dsc" "$dir/$package" >&2
    echo "$dir/$package"
)
