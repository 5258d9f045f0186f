# RapidJSON of Debian's rapidjson-dev, header-only: the JSON report is written with its Writer. As
# for fmt, only the rapidjson/ folder is put on the include path (through a folder of the build tree
# linking to it), so that the native, MinGW-w64 and WebAssembly builds all use the host's headers.
include_guard(GLOBAL)

find_path(TAVON_RAPIDJSON_INCLUDE_DIR rapidjson/writer.h PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT TAVON_RAPIDJSON_INCLUDE_DIR)
  message(FATAL_ERROR "The RapidJSON headers were not found. On Debian or Ubuntu: sudo apt-get install rapidjson-dev")
endif()
set(_tavon_rapidjson_dir "${CMAKE_BINARY_DIR}/rapidjson-include")
file(MAKE_DIRECTORY "${_tavon_rapidjson_dir}")
file(CREATE_LINK "${TAVON_RAPIDJSON_INCLUDE_DIR}/rapidjson" "${_tavon_rapidjson_dir}/rapidjson" SYMBOLIC)

# tavon_use_rapidjson(<target>): the target's own sources may include <rapidjson/writer.h>; the
# public headers do not, so nothing that links the library needs RapidJSON.
function(tavon_use_rapidjson target)
  target_include_directories(${target} SYSTEM PRIVATE "${_tavon_rapidjson_dir}")
endfunction()
