# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads),
# and runs what it builds under Wine.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

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

# Qt for Windows, as scripts/qt-windows.sh builds it into the user's cache
# (or wherever AMBRELAY_QT_WINDOWS names): with it the window is built too.
# The host's own Qt supplies the tools that run during the build.
if(NOT AMBRELAY_QT_WINDOWS AND DEFINED ENV{AMBRELAY_QT_WINDOWS})
  set(AMBRELAY_QT_WINDOWS $ENV{AMBRELAY_QT_WINDOWS})
endif()
if(NOT AMBRELAY_QT_WINDOWS)
  if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(ambrelay_cache $ENV{XDG_CACHE_HOME})
  else()
    set(ambrelay_cache $ENV{HOME}/.cache)
  endif()
  file(GLOB ambrelay_qt_configs ${ambrelay_cache}/ambrelay/qt-windows-*/lib/cmake/Qt6/Qt6Config.cmake)
  if(ambrelay_qt_configs)
    list(SORT ambrelay_qt_configs)
    list(GET ambrelay_qt_configs -1 ambrelay_qt_config)
    cmake_path(GET ambrelay_qt_config PARENT_PATH ambrelay_qt_prefix)  # Qt6
    cmake_path(GET ambrelay_qt_prefix PARENT_PATH ambrelay_qt_prefix)  # cmake
    cmake_path(GET ambrelay_qt_prefix PARENT_PATH ambrelay_qt_prefix)  # lib
    cmake_path(GET ambrelay_qt_prefix PARENT_PATH AMBRELAY_QT_WINDOWS)
  endif()
endif()
if(AMBRELAY_QT_WINDOWS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${AMBRELAY_QT_WINDOWS})
  list(APPEND CMAKE_PREFIX_PATH ${AMBRELAY_QT_WINDOWS})
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
