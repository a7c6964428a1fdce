# Sourced by scripts/package: the prefix of Windows libraries the show's
# cross-build links, kept in the cache under a name made of the versions in it.
#
#   windows_prefix ROOT
#       prints the prefix folder; builds it first when it is missing or was
#       left half-built (about five minutes on two cores). ROOT is the
#       repository. Build messages go to standard error.
#
# Inside: SDL2 and GLEW (static, from Debian's source packages), GoogleTest
# (static, from Debian's googletest sources), and the header-only GLM and
# stb_vorbis copied from this machine's Debian packages, with each one's
# licence under share/licenses/.

source "$(dirname "${BASH_SOURCE[0]}")/cross-libraries.sh"

# Bump when the way the prefix is built changes, so old caches are not reused.
_windows_prefix_recipe=1

windows_prefix() (
    set -euo pipefail
    local root=$1 key prefix
    key=$(cache_key sdl2=libsdl2-dev glew=libglew-dev googletest=googletest \
        mingw=g++-mingw-w64-x86-64-posix glm=libglm-dev stb=libstb-dev)
    prefix=$(velmora_cache_root)/windows-x64/$key-recipe$_windows_prefix_recipe
    if prefix_is_complete "$prefix"; then
        echo "$prefix"
        return 0
    fi
    echo "Building the Windows libraries into $prefix" >&2
    prepare_prefix "$prefix"
    local work
    work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-windows-libraries-XXXXXX")
    trap 'rm -rf "$work"' EXIT
    chmod 755 "$work" # apt downloads sources as its own user
    local toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/scripts/cmake/mingw-w64-x86_64.cmake"
        -DVELMORA_WINDOWS_PREFIX="$prefix")
    build_sdl2_from_debian_source "$prefix" "$work" "${toolchain[@]}"
    build_glew_from_debian_source "$prefix" "$work" "${toolchain[@]}"
    build_googletest_from_debian "$prefix" "$work" "${toolchain[@]}"
    _copy_header_only_libraries "$prefix"
    mark_prefix_complete "$prefix"
    echo "$prefix"
)

_copy_header_only_libraries() {
    local prefix=$1
    mkdir -p "$prefix/include/stb" "$prefix/share/cmake" "$prefix/lib/pkgconfig" \
        "$prefix/share/licenses/stb" "$prefix/share/licenses/GLM"
    cp -r /usr/include/glm "$prefix/include/"
    cp -r /usr/share/cmake/glm "$prefix/share/cmake/"
    cp /usr/share/doc/libglm-dev/copyright "$prefix/share/licenses/GLM/"
    cp /usr/include/stb/stb_vorbis.h "$prefix/include/stb/"
    cp /usr/share/doc/libstb-dev/copyright "$prefix/share/licenses/stb/"
    # The same module name as Debian's, so the show's CMake finds it alike;
    # header-only here: one source file of the show compiles the decoder.
    cat >"$prefix/lib/pkgconfig/stb.pc" <<EOF
prefix=$prefix
includedir=\${prefix}/include/stb

Name: stb
Description: single-file libraries (header-only here)
Version: 0.0
Cflags: -I\${includedir}
EOF
}
