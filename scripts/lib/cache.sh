# Sourced by the build scripts: the cache folder kept between runs, and
# Debian's ccache in front of every compiler the scripts run.
#
#   velmora_cache_root
#       prints the cache folder: $VELMORA_CACHE, else $XDG_CACHE_HOME/velmora,
#       else ~/.cache/velmora
#   use_compiler_cache ROOT
#       from then on, every CMake build configured afresh compiles through
#       ccache, its cache in the cache folder's ccache/; ROOT is the
#       repository, whose absolute path is left out of what ccache compares
#
# Each run of CI starts from a fresh clone, so without it every build
# compiles from nothing each time: the normal and sanitizer builds, the
# browser and the Windows builds, and the libraries built for them.

velmora_cache_root() {
    echo "${VELMORA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora}"
}

use_compiler_cache() {
    local root=$1
    export CCACHE_DIR
    CCACHE_DIR=$(velmora_cache_root)/ccache
    # A clone in another folder gives the same compile commands: paths under
    # the repository are compared relative to it, and the working folder is
    # not compared even when debug information names it (the sanitizer
    # builds), so a report may name the folder of the run that filled the
    # cache entry.
    export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=true
    # The normal, two sanitizer, browser and Windows builds take some 30 MB
    # compressed; room for many versions of each.
    export CCACHE_MAXSIZE=1G
    # CMake takes these as the launcher of each new build folder.
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
}
