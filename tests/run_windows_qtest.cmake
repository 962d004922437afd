# Runs one QtTest program under Wine: -DPROGRAM, -DLOG (the host's path of
# its log), -DEMULATOR (joined by |), -DGUI (ON for a program with windows). Wine keeps the host's QT_ variables
# from Windows programs, so the platform goes on the command line and a
# scale factor is set inside Windows, by cmd; and what a QtTest program
# writes to standard output does not reach Wine's pipe, so it writes its log
# to a file, which is printed here.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
string(REPLACE "/" "\\" program "Z:${PROGRAM}")
string(REPLACE "/" "\\" log "Z:${LOG}")
set(platform offscreen)
if(DEFINED ENV{QT_QPA_PLATFORM})
  set(platform $ENV{QT_QPA_PLATFORM})
endif()
set(run "${program} -o ${log},txt")
if(GUI)
  # The offscreen platform draws with the fonts of a folder: the host's
  # Liberation fonts, as the Linux suites do.
  set(run "set QT_QPA_FONTDIR=Z:\\usr\\share\\fonts\\truetype\\liberation&& ${run} -platform ${platform}")
endif()
if(DEFINED ENV{QT_SCALE_FACTOR})
  set(run "set QT_SCALE_FACTOR=$ENV{QT_SCALE_FACTOR}&& ${run}")
endif()
file(REMOVE ${LOG})
execute_process(COMMAND ${EMULATOR} cmd /c "${run}" RESULT_VARIABLE status)
if(EXISTS ${LOG})
  file(READ ${LOG} text)
  message("${text}")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ended with status ${status}")
endif()
