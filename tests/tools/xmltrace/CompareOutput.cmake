# Runs PROGRAM (through EMULATOR when set) on INPUT and compares its standard
# output with EXPECTED; a missing argument must give exit code 2.
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${INPUT}
                OUTPUT_VARIABLE output RESULT_VARIABLE code)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "xmltrace exited with ${code}")
endif()
file(READ ${EXPECTED} expected)
if(NOT output STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/xmltrace-actual.txt "${output}")
  message(FATAL_ERROR "output differs; got:\n${output}")
endif()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} OUTPUT_VARIABLE usage ERROR_VARIABLE usage
                RESULT_VARIABLE code)
if(NOT code EQUAL 2)
  message(FATAL_ERROR "xmltrace without a file exited with ${code}")
endif()
