# Renders the music afresh and checks it byte for byte against the committed file.
# Arguments: TOOL, OUTPUT, EXPECTED.
execute_process(COMMAND ${TOOL} ${OUTPUT} RESULT_VARIABLE render_result)
if(NOT render_result EQUAL 0)
    message(FATAL_ERROR "velmora_musicgen failed: ${render_result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${EXPECTED}
    RESULT_VARIABLE compare_result)
if(NOT compare_result EQUAL 0)
    message(FATAL_ERROR "${OUTPUT} differs from ${EXPECTED}")
endif()
