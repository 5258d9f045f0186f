# Tools that run during the build must be built for the build machine, not for the target. When
# cross-compiling, this file (read right after project(), see mingw-w64.cmake) builds the table
# generator with the host's C++ compiler and provides it as the imported executable tavon_data_gen,
# which tavon_data.cmake then uses instead of building its own.

include_guard(GLOBAL)

if(NOT CMAKE_CROSSCOMPILING)
  return()
endif()

find_program(TAVON_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH REQUIRED
             DOC "C++ compiler of the build machine, for the build-time tools")

set(_tavon_gen_src "${CMAKE_CURRENT_LIST_DIR}/tavon_data_gen.cpp")
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH _tavon_root)
set(_tavon_gen_parser "${_tavon_root}/src/data/data_files.cpp")
set(_tavon_gen_dir "${CMAKE_BINARY_DIR}/host")
# The executable is a byproduct of a stamp: CMake drops a custom command whose output is the location
# of an imported target.
add_custom_command(
  OUTPUT "${_tavon_gen_dir}/tavon_data_gen.stamp"
  BYPRODUCTS "${_tavon_gen_dir}/tavon_data_gen"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${_tavon_gen_dir}"
  COMMAND "${TAVON_HOST_CXX}" -std=c++20 -O2 -Wall -Wextra -I "${_tavon_root}/src"
          -o "${_tavon_gen_dir}/tavon_data_gen" "${_tavon_gen_src}" "${_tavon_gen_parser}"
  COMMAND "${CMAKE_COMMAND}" -E touch "${_tavon_gen_dir}/tavon_data_gen.stamp"
  DEPENDS "${_tavon_gen_src}" "${_tavon_gen_parser}" "${_tavon_root}/src/data/data_files.h"
  COMMENT "Building the table generator for the build machine"
  VERBATIM)
add_custom_target(tavon_data_gen_host DEPENDS "${_tavon_gen_dir}/tavon_data_gen.stamp")

add_executable(tavon_data_gen IMPORTED GLOBAL)
set_target_properties(tavon_data_gen PROPERTIES IMPORTED_LOCATION "${_tavon_gen_dir}/tavon_data_gen")
