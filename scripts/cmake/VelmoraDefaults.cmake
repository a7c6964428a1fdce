# Settings shared by the show and by the tools when they are built on their
# own: C++17 without extensions, a Release build unless told otherwise, and
# the project's warnings as the interface target velmora_warnings.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type" FORCE)
endif()

option(VELMORA_WERROR "Treat compiler warnings as errors" OFF)
add_library(velmora_warnings INTERFACE)
if(MSVC)
    target_compile_options(velmora_warnings INTERFACE /W4 $<$<BOOL:${VELMORA_WERROR}>:/WX>)
else()
    target_compile_options(velmora_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
        $<$<BOOL:${VELMORA_WERROR}>:-Werror>)
endif()
