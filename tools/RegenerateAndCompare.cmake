# Runs an off-line generator into OUTPUT and fails unless OUTPUT is byte for
# byte the COMMITTED file. Run with cmake -P and -D TOOL, OUTPUT, COMMITTED,
# and INPUT when the generator reads one (it is passed before OUTPUT).
execute_process(COMMAND ${TOOL} ${INPUT} ${OUTPUT} RESULT_VARIABLE generated)
if(NOT generated EQUAL 0)
    message(FATAL_ERROR "${TOOL} failed (${generated})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMMITTED}
                RESULT_VARIABLE compared)
if(NOT compared EQUAL 0)
    message(FATAL_ERROR "${COMMITTED} differs from what ${TOOL} makes now; regenerate it "
                        "(see the tool's README.md)")
endif()
