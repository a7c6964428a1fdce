# Sourced by scripts/web: the folder of libraries the browser build links,
# kept in the cache under a name made of the versions inside it.
#
#   web_prefix
#       prints the folder; builds it first when it is missing or was left
#       half-built (several minutes on two cores). Build messages go to
#       standard error, the build log to the folder's build.log.
#
# Inside: lib/libSDL2.a and include/SDL2, SDL2 built with emscripten from
# Debian's libsdl2 source package (never emscripten's own ports, which would
# download another SDL); include/glm and include/stb, copies of Debian's
# headers, so the browser build never searches this machine's /usr/include.
# Each one's licence is under share/licenses/.

_web_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$_web_lib_dir/cross-libraries.sh"

# Bump when the way the folder is built changes, so old caches are not reused.
_web_prefix_recipe=1

# SDL2's configure with the recorded answers to its checks when they were
# recorded for these SDL2 and emscripten versions; otherwise the full, slow
# configure, which then records its answers beside the build log.
# _configure_sdl2 SOURCE BUILD PREFIX VERSIONS
_configure_sdl2() {
    local source=$1 build=$2 prefix=$3 versions=$4
    local answers=$_web_lib_dir/sdl2-web-checks.cmake preset=()
    if grep -q -F -x "# versions: ${versions%_glm-*}" "$answers"; then
        preset=(-C "$answers")
    else
        echo "web build: no recorded configure answers for ${versions%_glm-*}; the full" \
            "configure takes a while" >&3
    fi
    emcmake cmake "${preset[@]}" -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib \
        -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF || return 1
    if [ ${#preset[@]} -eq 0 ]; then
        {
            echo "# versions: ${versions%_glm-*}"
            sed -n -E 's/^((HAVE|LIBC)_[A-Z0-9_]*|STDC_HEADERS):INTERNAL=(.*)$/set(\1 "\3" CACHE INTERNAL "")/p' \
                "$build/CMakeCache.txt"
        } >"$prefix/sdl2-web-checks.cmake"
        echo "web build: recorded them in $prefix/sdl2-web-checks.cmake" >&3
    fi
}

web_prefix() (
    set -euo pipefail
    local versions prefix
    versions=$(cache_key sdl2=libsdl2-dev emscripten=emscripten glm=libglm-dev stb=libstb-dev)
    prefix=$(velmora_cache_root)/web/$versions-recipe$_web_prefix_recipe
    if prefix_is_complete "$prefix"; then
        echo "$prefix"
        return 0
    fi
    echo "Building SDL2 for the web into $prefix" >&2
    prepare_prefix "$prefix"
    local work
    work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-web-libraries-XXXXXX")
    trap 'rm -rf "$work"' EXIT
    chmod 755 "$work" # apt downloads sources as its own user

    local source log=$prefix/build.log
    exec 3>&2 # for messages while the build's own output goes to the log
    source=$(fetch_debian_source libsdl2 "$work/src")
    # Static and without SDL's own tests; SDL leaves threads out of a
    # browser build by itself.
    if ! {
        _configure_sdl2 "$source" "$work/sdl2" "$prefix" "$versions" &&
            nice cmake --build "$work/sdl2" -j 2 &&
            cmake --install "$work/sdl2"
    } >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        echo "web build: building SDL2 failed; the whole log is $log" >&2
        return 1
    fi

    mkdir -p "$prefix/include/stb" "$prefix/share/licenses/SDL2" \
        "$prefix/share/licenses/GLM" "$prefix/share/licenses/stb"
    cp "$source/LICENSE.txt" "$prefix/share/licenses/SDL2/"
    cp -r /usr/include/glm "$prefix/include/"
    cp /usr/share/doc/libglm-dev/copyright "$prefix/share/licenses/GLM/"
    cp /usr/include/stb/stb_vorbis.h "$prefix/include/stb/"
    cp /usr/share/doc/libstb-dev/copyright "$prefix/share/licenses/stb/"
    mark_prefix_complete "$prefix"
    echo "$prefix"
)
