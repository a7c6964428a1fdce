# Sourced by the release and browser scripts: builds the libraries the show
# links from Debian's own sources, for a platform other than this machine's,
# into a prefix kept in a cache between runs.
#
#   velmora_cache_root (scripts/lib/cache.sh)
#       prints the cache folder
#   cache_key NAME=BINPKG...
#       prints "NAME-VERSION_NAME-VERSION..." with the Debian source version of
#       each installed binary package, for naming a cache subfolder
#   prefix_is_complete PREFIX
#       true when a build into PREFIX finished (mark_prefix_complete)
#   prepare_prefix PREFIX / mark_prefix_complete PREFIX
#       empty a half-built PREFIX before a build / mark it finished after one
#   build_sdl2_from_debian_source PREFIX WORK_DIR [CMAKE_ARG...]
#       static SDL2 (with SDL2main) from Debian's libsdl2 source package
#   build_glew_from_debian_source PREFIX WORK_DIR [CMAKE_ARG...]
#       static GLEW from Debian's glew source package, through its build/cmake
#   build_googletest_from_debian PREFIX WORK_DIR [CMAKE_ARG...]
#       static GoogleTest from the sources Debian's googletest package installs
#
# The CMAKE_ARGs say which platform to build for, usually
# -DCMAKE_TOOLCHAIN_FILE=...; each build runs `cmake` with them, in Release,
# and installs into PREFIX. Sources and build trees go to WORK_DIR, which the
# caller removes. A build that fails stops with a non-zero status and leaves
# PREFIX unmarked, so the next run starts it again.

source "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh"
source "$(dirname "${BASH_SOURCE[0]}")/cache.sh"

cache_key() {
    local pair key=
    for pair in "$@"; do
        local version
        version=$(source_version "${pair#*=}") || {
            echo "cache_key: ${pair#*=} is not installed" >&2
            return 1
        }
        # Epochs ("1:") would put a colon in a folder name.
        key+="${key:+_}${pair%%=*}-${version//:/.}"
    done
    echo "$key"
}

prefix_is_complete() {
    [ -f "$1/.complete" ]
}

prepare_prefix() {
    rm -rf "${1:?}"
    mkdir -p "$1"
}

mark_prefix_complete() {
    touch "$1/.complete"
}

# _cmake_build_install SOURCE BUILD PREFIX TARGET [CMAKE_ARG...]
_cmake_build_install() {
    local source=$1 build=$2 prefix=$3 target=$4
    shift 4
    cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib "$@" >"$build.log" 2>&1 ||
        { tail -n 30 "$build.log" >&2; return 1; }
    nice cmake --build "$build" --target "$target" -j 2 >>"$build.log" 2>&1 ||
        { tail -n 30 "$build.log" >&2; return 1; }
    cmake --install "$build" >>"$build.log" 2>&1 ||
        { tail -n 30 "$build.log" >&2; return 1; }
}

build_sdl2_from_debian_source() (
    set -euo pipefail
    local prefix=$1 work=$2
    shift 2
    local source
    source=$(fetch_debian_source libsdl2 "$work/src")
    _cmake_build_install "$source" "$work/sdl2" "$prefix" all \
        -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF "$@"
    mkdir -p "$prefix/share/licenses/SDL2"
    cp "$source/LICENSE.txt" "$prefix/share/licenses/SDL2/"
)

build_glew_from_debian_source() (
    set -euo pipefail
    local prefix=$1 work=$2
    shift 2
    local source
    source=$(fetch_debian_source glew "$work/src")
    # Only the static library; its Makefile does not install for other
    # platforms, its CMake build does.
    _cmake_build_install "$source/build/cmake" "$work/glew" "$prefix" glew_s \
        -DBUILD_SHARED_LIBS=OFF -DBUILD_UTILS=OFF "$@"
    mkdir -p "$prefix/share/licenses/GLEW"
    cp "$source/LICENSE.txt" "$prefix/share/licenses/GLEW/"
)

build_googletest_from_debian() (
    set -euo pipefail
    local prefix=$1 work=$2
    shift 2
    _cmake_build_install /usr/src/googletest "$work/googletest" "$prefix" all \
        -DBUILD_GMOCK=OFF -DBUILD_SHARED_LIBS=OFF "$@"
)
