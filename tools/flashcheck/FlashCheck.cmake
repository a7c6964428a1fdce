# The flash check: its analysis as a library, which the unit tests try on
# made-up frames, and the program that runs it on recorded frames (an
# end-to-end test on a short clip, bench/measure.sh on a whole cycle, or by
# hand on any recording). Included by the tests and by the benchmark,
# whichever comes first; it needs nothing but the C++ library.
include_guard(GLOBAL)
add_library(velmora_flash_analysis STATIC ${CMAKE_CURRENT_LIST_DIR}/FlashAnalysis.cpp)
target_include_directories(velmora_flash_analysis PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(velmora_flash_analysis PRIVATE velmora_warnings)

add_executable(velmora_flash_check ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_include_directories(velmora_flash_check PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(velmora_flash_check PRIVATE velmora_flash_analysis velmora_warnings)
set_target_properties(velmora_flash_check PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
