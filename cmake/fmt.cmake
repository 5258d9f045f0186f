# The formatting library of Debian's libfmt-dev, used header-only: the same headers then serve the
# native build, the MinGW-w64 cross build and the WebAssembly build, none of which needs a compiled
# libfmt for its target. Only the fmt/ folder is put on the include path (through a folder of the
# build tree linking to it), never the host's whole /usr/include.
include_guard(GLOBAL)

find_path(TAVON_FMT_INCLUDE_DIR fmt/format.h PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT TAVON_FMT_INCLUDE_DIR)
  message(FATAL_ERROR "The fmt headers were not found. On Debian or Ubuntu: sudo apt-get install libfmt-dev")
endif()
set(_tavon_fmt_dir "${CMAKE_BINARY_DIR}/fmt-include")
file(MAKE_DIRECTORY "${_tavon_fmt_dir}")
file(CREATE_LINK "${TAVON_FMT_INCLUDE_DIR}/fmt" "${_tavon_fmt_dir}/fmt" SYMBOLIC)

# tavon_use_fmt(<target>): the target's sources may include <fmt/format.h>, and so may those of the
# targets of this build that link it (the tests and fuzz targets include the library's inside);
# an installed library's consumers see only the public headers, which do not.
function(tavon_use_fmt target)
  target_include_directories(${target} SYSTEM PUBLIC "$<BUILD_INTERFACE:${_tavon_fmt_dir}>")
  target_compile_definitions(${target} PUBLIC "$<BUILD_INTERFACE:FMT_HEADER_ONLY>")
endfunction()
