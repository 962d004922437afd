# The header-only libraries a cross build takes from the host's packages.
# Each one's own folder is linked into a folder of the build's, so the cross
# compiler sees boost/, CLI/ and nlohmann/ and never the host's C headers
# beside them in /usr/include.
set(AMBRELAY_HOST_INCLUDE /usr/include CACHE PATH "Where the host's header-only libraries are")
set(staged ${CMAKE_BINARY_DIR}/host-headers)

function(ambrelay_host_headers target folder version_header version_pattern minimum)
  set(source ${AMBRELAY_HOST_INCLUDE}/${folder})
  if(NOT EXISTS ${source}/${version_header})
    message(FATAL_ERROR "${target} needs ${source} (install its Debian -dev package)")
  endif()
  file(STRINGS ${source}/${version_header} line REGEX "${version_pattern}" LIMIT_COUNT 1)
  string(REGEX REPLACE ".*${version_pattern}.*" "\\1" version "${line}")
  if(version VERSION_LESS minimum)
    message(FATAL_ERROR "${target} ${version} is older than ${minimum}")
  endif()
  file(MAKE_DIRECTORY ${staged})
  file(CREATE_LINK ${source} ${staged}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${staged})
  message(STATUS "Using ${folder}/ ${version} from ${AMBRELAY_HOST_INCLUDE}")
endfunction()

ambrelay_host_headers(Boost::headers boost version.hpp "define BOOST_VERSION ([0-9]+)" 107400)
ambrelay_host_headers(CLI11::CLI11 CLI Version.hpp "define CLI11_VERSION \"([0-9.]+)\"" 2.0)
ambrelay_host_headers(nlohmann_json::nlohmann_json nlohmann detail/abi_macros.hpp
                      "define NLOHMANN_JSON_VERSION_MAJOR ([0-9]+)" 3)
# Dragonbox keeps its headers in a folder named for its version.
file(GLOB dragonbox_folders LIST_DIRECTORIES true ${AMBRELAY_HOST_INCLUDE}/dragonbox-*)
list(SORT dragonbox_folders COMPARE NATURAL ORDER DESCENDING)
set(dragonbox_folder ${AMBRELAY_HOST_INCLUDE}/dragonbox-VERSION)
if(dragonbox_folders)
  list(GET dragonbox_folders 0 dragonbox_folder)
endif()
if(NOT EXISTS ${dragonbox_folder}/dragonbox/dragonbox.h)
  message(FATAL_ERROR "dragonbox needs ${dragonbox_folder} (install libdragonbox-dev)")
endif()
file(CREATE_LINK ${dragonbox_folder}/dragonbox ${staged}/dragonbox SYMBOLIC)
add_library(dragonbox::dragonbox INTERFACE IMPORTED GLOBAL)
set_target_properties(dragonbox::dragonbox PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${staged})
message(STATUS "Using dragonbox/ from ${dragonbox_folder}")
