# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads),
# and runs what it builds under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and headers come from the MinGW tree only, never the host's.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread go into the .exe, so it runs on a bare
# Windows with nothing beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests start the programs under Wine in a prefix of the build's own, quietly
# (Wine's own diagnostics would mix with the program's standard error), with
# a UTF-8 locale so Wine reads non-ASCII arguments as the host wrote them.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(AMBRELAY_WINE NAMES wine64 wine HINTS /usr/lib/wine)
  if(AMBRELAY_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
        WINEDLLOVERRIDES=mscoree,mshtml= ${AMBRELAY_WINE})
  endif()
endif()
