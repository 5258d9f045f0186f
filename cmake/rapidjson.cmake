# RapidJSON of Debian's rapidjson-dev, header-only: the fuzz targets read the JSON reports back with
# it (the library writes them itself: clang's UBSan finds undefined behaviour in RapidJSON 1.1.0's
# writer). As for fmt, only the rapidjson/ folder is put on the include path, through a folder of
# the build tree linking to it.
include_guard(GLOBAL)

find_path(TAVON_RAPIDJSON_INCLUDE_DIR rapidjson/document.h PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT TAVON_RAPIDJSON_INCLUDE_DIR)
  message(FATAL_ERROR "The RapidJSON headers were not found. On Debian or Ubuntu: sudo apt-get install rapidjson-dev")
endif()
set(_tavon_rapidjson_dir "${CMAKE_BINARY_DIR}/rapidjson-include")
file(MAKE_DIRECTORY "${_tavon_rapidjson_dir}")
file(CREATE_LINK "${TAVON_RAPIDJSON_INCLUDE_DIR}/rapidjson" "${_tavon_rapidjson_dir}/rapidjson" SYMBOLIC)

# tavon_use_rapidjson(<target>): the target's own sources may include <rapidjson/document.h>.
function(tavon_use_rapidjson target)
  target_include_directories(${target} SYSTEM PRIVATE "${_tavon_rapidjson_dir}")
endfunction()
