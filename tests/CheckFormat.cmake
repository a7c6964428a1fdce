# Fails when a C or C++ source of the project differs from what clang-format
# makes of it with the repository's .clang-format. Run with cmake -P and
# -D CLANG_FORMAT, SOURCE_DIR. Generated sources are left as generated.
foreach(dir base app record render text audio tools tests bench)
    list(APPEND patterns ${SOURCE_DIR}/${dir}/*.cpp ${SOURCE_DIR}/${dir}/*.h ${SOURCE_DIR}/${dir}/*.c)
endforeach()
file(GLOB_RECURSE sources ${patterns})
list(FILTER sources EXCLUDE REGEX "\\.generated\\.")
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE complaints)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Unformatted sources; run clang-format -i on them:\n${complaints}")
endif()
