# Fails when a C or C++ source of the project differs from what clang-format
# makes of it with the repository's .clang-format. Run with cmake -P and
# -D CLANG_FORMAT, SOURCE_DIR. Generated sources are left as generated.
file(GLOB_RECURSE sources
    ${SOURCE_DIR}/base/*.h
    ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h
    ${SOURCE_DIR}/render/*.cpp ${SOURCE_DIR}/render/*.h
    ${SOURCE_DIR}/text/*.cpp ${SOURCE_DIR}/text/*.h
    ${SOURCE_DIR}/audio/*.cpp ${SOURCE_DIR}/audio/*.h
    ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tools/*.h
    ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.c
    ${SOURCE_DIR}/bench/*.cpp)
list(FILTER sources EXCLUDE REGEX "\\.generated\\.")
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE complaints)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Unformatted sources; run clang-format -i on them:\n${complaints}")
endif()
