# Runs the font generator into OUTPUT and fails unless OUTPUT is byte for
# byte the COMMITTED file. Run with cmake -P and -D TOOL, FONT, OUTPUT,
# COMMITTED.
execute_process(COMMAND ${TOOL} ${FONT} ${OUTPUT} RESULT_VARIABLE generated)
if(NOT generated EQUAL 0)
    message(FATAL_ERROR "velmora_fontgen failed (${generated})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMMITTED}
                RESULT_VARIABLE compared)
if(NOT compared EQUAL 0)
    message(FATAL_ERROR "${COMMITTED} differs from what velmora_fontgen makes of ${FONT}; "
                        "regenerate it (see tools/fontgen/README.md)")
endif()
