# The shared library beside the static one: libtavon.so.1 (real name libtavon.so.0.9, link name
# libtavon.so) on Linux, tavon.dll with its import library libtavon.dll.a and tavon.def on Windows.
# It exports the C interface (tavon/c_api.h) and the C++ API (TAVON_API, tavon/export.h) only.
#
# The same sources as the static library, compiled a second time: position-independent and with
# hidden symbols, which the static library that belun links does not need (belun stays as fast).
include_guard(GLOBAL)

get_target_property(_tavon_sources tavon SOURCES)
get_target_property(_tavon_includes tavon INCLUDE_DIRECTORIES)
add_library(tavon_shared SHARED ${_tavon_sources})
add_library(tavon::shared ALIAS tavon_shared)
# The generated tables and catalogue of the static library's build (made before either compiles).
add_dependencies(tavon_shared tavon_catalogue)
target_include_directories(tavon_shared PRIVATE ${_tavon_includes}
  INTERFACE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include> $<INSTALL_INTERFACE:include>)
target_compile_features(tavon_shared PUBLIC cxx_std_20)
target_compile_definitions(tavon_shared PRIVATE TAVON_NS_HOST="${TAVON_NS_HOST}" TAVON_VERSION="${PROJECT_VERSION}"
  TAVON_BUILDING_SHARED INTERFACE TAVON_USING_SHARED)
tavon_use_fmt(tavon_shared)
set_target_properties(tavon_shared PROPERTIES
  OUTPUT_NAME tavon
  EXPORT_NAME shared
  VERSION ${PROJECT_VERSION}
  SOVERSION 1
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON
  POSITION_INDEPENDENT_CODE ON)
if(WIN32)
  # tavon.dll (no "lib"), needing no DLL of the C++ runtime beside it; tavon.def lists its exports
  # for Microsoft's lib.exe, which makes tavon.lib from it.
  set_target_properties(tavon_shared PROPERTIES PREFIX "")
  target_link_options(tavon_shared PRIVATE -static -Wl,--output-def,${CMAKE_CURRENT_BINARY_DIR}/tavon.def)
else()
  set(_tavon_map "${PROJECT_SOURCE_DIR}/cmake/tavon.map")
  target_link_options(tavon_shared PRIVATE "LINKER:--version-script=${_tavon_map}" "LINKER:--no-undefined")
  set_property(TARGET tavon_shared APPEND PROPERTY LINK_DEPENDS "${_tavon_map}")
endif()
