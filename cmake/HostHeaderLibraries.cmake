# The header-only libraries of the command-line programs (CLI11, Boost.Math, nlohmann/json,
# Random123) for the MinGW-w64 cross build. The cross compiler does not search the build
# machine's /usr/include, and adding it with -isystem would put glibc's headers before
# MinGW's. So each library's own folder is linked into a folder of the build tree, which is
# searched instead, and the targets the programs link are made here.
set(MTD_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${MTD_HOST_HEADERS})

function(mtd_host_header_folder folder probe package)
  find_path(found_${folder} ${folder}/${probe} PATHS /usr/include /usr/local/include
            NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
  if(NOT found_${folder})
    message(FATAL_ERROR "The Windows build of mtd-sim needs ${folder}/${probe} from the build "
                        "machine (Debian: ${package})")
  endif()
  if(NOT EXISTS ${MTD_HOST_HEADERS}/${folder})
    file(CREATE_LINK ${found_${folder}}/${folder} ${MTD_HOST_HEADERS}/${folder} SYMBOLIC)
  endif()
endfunction()

mtd_host_header_folder(CLI CLI.hpp libcli11-dev)
mtd_host_header_folder(boost math/distributions/beta.hpp libboost-dev)
mtd_host_header_folder(nlohmann json.hpp nlohmann-json3-dev)
mtd_host_header_folder(Random123 philox.h librandom123-dev)

foreach(target CLI11::CLI11 Boost::headers nlohmann_json::nlohmann_json)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES
                                             ${MTD_HOST_HEADERS}
                                             INTERFACE_INCLUDE_DIRECTORIES ${MTD_HOST_HEADERS})
endforeach()
set(RANDOM123_INCLUDE_DIR ${MTD_HOST_HEADERS} CACHE PATH "Random123's headers" FORCE)
