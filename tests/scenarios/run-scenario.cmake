execute_process(COMMAND ${SIM} ${SCENARIO} RESULT_VARIABLE code)
if(NOT code EQUAL EXPECTED)
    message(FATAL_ERROR "nimbrel-sim exited with ${code}, expected ${EXPECTED}")
endif()
