# Runs COMMAND (a list) and fails when it fails or prints anything: a
# formatter's warnings are its output.
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output STREQUAL "")
  message(FATAL_ERROR "${COMMAND} exited with ${result}:\n${output}")
endif()
