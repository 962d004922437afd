# Runs ambrelay-cli once and compares what it printed, byte for byte, and its
# exit status with what is expected: -DNAME, -DPROGRAM, -DARGS (joined by |),
# optional -DINPUT (standard input), -DEXPECTED (standard output), optional
# -DERRORS (standard error), -DSTATUS, optional -DEMULATOR (joined by |).
# The output goes to files: a CMake variable would lose every CR, and CRLF
# line ends are part of what is tested.
string(REPLACE "|" ";" ARGS "${ARGS}")
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
set(actual ${CMAKE_CURRENT_BINARY_DIR}/${NAME}.actual.out)
set(actual_errors ${CMAKE_CURRENT_BINARY_DIR}/${NAME}.actual.err)
set(command ${EMULATOR} ${PROGRAM} ${ARGS})
if(INPUT)
  execute_process(COMMAND ${command} INPUT_FILE ${INPUT} OUTPUT_FILE ${actual} ERROR_FILE ${actual_errors}
                  RESULT_VARIABLE status)
else()
  execute_process(COMMAND ${command} OUTPUT_FILE ${actual} ERROR_FILE ${actual_errors} RESULT_VARIABLE status)
endif()
file(READ ${actual} out)
file(READ ${actual_errors} err)
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\nstdout:\n${out}\nstderr:\n${err}")
endif()

# Fails unless the two files hold the same bytes.
function(same_bytes what expected_file actual_file)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${expected_file} ${actual_file} RESULT_VARIABLE differ)
  if(differ)
    file(READ ${actual_file} text)
    message(FATAL_ERROR "${what} differs from ${expected_file}; compare the bytes of ${actual_file}:\n${text}")
  endif()
endfunction()

if(EXPECTED)
  same_bytes("standard output" ${EXPECTED} ${actual})
endif()
if(ERRORS)
  same_bytes("standard error" ${ERRORS} ${actual_errors})
endif()
