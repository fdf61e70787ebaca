# The program's --verify on the committed recording: status 0 and, on every
# platform, the same lines.
execute_process(COMMAND ${RUN} --verify ${RECORDING}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "\r" "" out "${out}")
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 0 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "status ${status}\n--- got:\n${out}${err}\n--- expected:\n${expected}")
endif()
