# Runs one harness over its seed corpus from a fresh directory for what it finds, so that every
# ctest run starts from the committed corpus alone and never writes into it.
file(REMOVE_RECURSE ${FOUND})
file(MAKE_DIRECTORY ${FOUND})
execute_process(COMMAND ${FUZZER} -runs=${RUNS} -seed=1 -artifact_prefix=${FOUND}/ ${FOUND} ${CORPUS}
                RESULT_VARIABLE code)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "${FUZZER} exited with ${code}; the failing input is in ${FOUND}")
endif()
