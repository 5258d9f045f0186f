# Tools that run during the build must be built for the build machine, not for the target. When
# cross-compiling, this file (read right after project(), see mingw-w64.cmake) builds the table
# generator and the catalogue generator with the host's C++ compiler and provides them as the imported
# executables tavon_data_gen and tavon_catalogue_gen, which tavon_data.cmake and tavon_catalogue.cmake
# then use instead of building their own.

include_guard(GLOBAL)

if(NOT CMAKE_CROSSCOMPILING)
  return()
endif()

find_program(TAVON_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH REQUIRED
             DOC "C++ compiler of the build machine, for the build-time tools")

cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH _tavon_root)
set(_tavon_host_dir "${CMAKE_BINARY_DIR}/host")

# _tavon_host_tool(<name> SOURCES <file>... DEPENDS <header>...): <name> built from the sources with
# the host's compiler, as the imported executable <name>.
function(_tavon_host_tool name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;DEPENDS")
  # The executable is a byproduct of a stamp: CMake drops a custom command whose output is the
  # location of an imported target.
  add_custom_command(
    OUTPUT "${_tavon_host_dir}/${name}.stamp"
    BYPRODUCTS "${_tavon_host_dir}/${name}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${_tavon_host_dir}"
    COMMAND "${TAVON_HOST_CXX}" -std=c++20 -O2 -Wall -Wextra -I "${_tavon_root}/src" -I "${_tavon_root}/include"
            -o "${_tavon_host_dir}/${name}" ${arg_SOURCES}
    COMMAND "${CMAKE_COMMAND}" -E touch "${_tavon_host_dir}/${name}.stamp"
    DEPENDS ${arg_SOURCES} ${arg_DEPENDS}
    COMMENT "Building ${name} for the build machine"
    VERBATIM)
  add_custom_target(${name}_host DEPENDS "${_tavon_host_dir}/${name}.stamp")

  add_executable(${name} IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION "${_tavon_host_dir}/${name}")
endfunction()

_tavon_host_tool(tavon_data_gen
  SOURCES "${_tavon_root}/tools/generators/data_gen.cpp" "${_tavon_root}/src/data/data_files.cpp"
  DEPENDS "${_tavon_root}/src/data/data_files.h")
_tavon_host_tool(tavon_catalogue_gen
  SOURCES "${_tavon_root}/tools/generators/catalogue_gen.cpp" "${_tavon_root}/src/report/error_table.cpp"
  DEPENDS "${_tavon_root}/src/report/error_table.h" "${_tavon_root}/src/fields/attribute_tables.h"
          "${_tavon_root}/include/tavon/cz.h")
