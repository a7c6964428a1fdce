# The libraries of the browser build, from the prefix that scripts/web builds
# (VELMORA_WEB_PREFIX): SDL2 compiled for the web from Debian's source
# package, and copies of Debian's GLM and stb headers in folders of their
# own. The machine's /usr/include is never searched: its headers are for this
# machine's C library, not the browser's.
if(NOT VELMORA_WEB_PREFIX OR NOT EXISTS "${VELMORA_WEB_PREFIX}/lib/libSDL2.a")
    message(FATAL_ERROR "The browser build needs VELMORA_WEB_PREFIX, the folder with "
        "lib/libSDL2.a built for the web; scripts/web makes it and passes it")
endif()

add_library(velmora_web_libraries INTERFACE)
target_include_directories(velmora_web_libraries SYSTEM INTERFACE
    ${VELMORA_WEB_PREFIX}/include/SDL2
    ${VELMORA_WEB_PREFIX}/include
    ${VELMORA_WEB_PREFIX}/include/stb)
target_link_libraries(velmora_web_libraries INTERFACE ${VELMORA_WEB_PREFIX}/lib/libSDL2.a)
