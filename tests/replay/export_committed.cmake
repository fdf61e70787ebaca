# The program's --export of the committed recording: status 0 and, on every
# platform, the same bytes, whose SHA-256 is committed beside it.
execute_process(COMMAND ${RUN} --export ${RECORDING}
  RESULT_VARIABLE status OUTPUT_VARIABLE cast ERROR_VARIABLE err)
# A Windows console's text mode ends lines with CR LF.
string(REPLACE "\r\n" "\n" cast "${cast}")
string(SHA256 got "${cast}")
file(STRINGS ${EXPECTED} expected LIMIT_COUNT 1)
string(LENGTH "${cast}" length)
if(NOT status EQUAL 0 OR NOT got STREQUAL expected)
  message(FATAL_ERROR "status ${status}, ${length} bytes of SHA-256 ${got}, expected ${expected}\n${err}")
endif()
