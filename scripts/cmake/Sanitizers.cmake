# Sanitizer and fuzzing builds (clang; scripts/sanitizers makes them):
#   VELMORA_SANITIZE=address,undefined  or  thread: everything the project
#       compiles, the music decoder included, is instrumented; any report of
#       undefined behaviour stops the program.
#   VELMORA_FUZZ=ON: also coverage for libFuzzer, and the target
#       velmora_music_fuzzer (tests/fuzz).
set(VELMORA_SANITIZE "" CACHE STRING "Sanitizers to build with: address,undefined or thread")
option(VELMORA_FUZZ "Build the libFuzzer targets (clang, with VELMORA_SANITIZE)" OFF)

if(VELMORA_SANITIZE)
    add_compile_options(-fsanitize=${VELMORA_SANITIZE} -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${VELMORA_SANITIZE})
endif()

# For code that is loaded into programs built without the sanitizers (the
# LD_PRELOAD objects of the tests reach the symbolizer and apitrace too).
function(velmora_not_instrumented target)
    if(VELMORA_SANITIZE)
        target_compile_options(${target} PRIVATE -fno-sanitize=all)
        target_link_options(${target} PRIVATE -fno-sanitize=all)
    endif()
endfunction()

if(VELMORA_SANITIZE MATCHES "address")
    # Every program keeps the libraries it loads, so that leak reports can
    # name them (tests/sanitizers/KeepLibrariesLoaded.c).
    add_library(velmora_keep_libraries_loaded OBJECT
        ${CMAKE_CURRENT_LIST_DIR}/../../tests/sanitizers/KeepLibrariesLoaded.c)
    velmora_not_instrumented(velmora_keep_libraries_loaded)
    link_libraries(velmora_keep_libraries_loaded)
endif()
if(VELMORA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT VELMORA_SANITIZE)
        message(FATAL_ERROR "VELMORA_FUZZ needs clang and VELMORA_SANITIZE")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
