# Installing the validator library for programs outside this tree (component "development"):
# the static and the shared library, the public headers under include/tavon, a CMake package config
# and a pkg-config file (tavon.pc, for the shared library's C interface), so that
#
#   find_package(tavon REQUIRED)
#   target_link_libraries(app PRIVATE tavon::tavon)      (static; tavon::shared: libtavon.so.1)
#
# or `cc app.c $(pkg-config --cflags --libs tavon)` works against the install prefix.

include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TAVON_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/tavon")

install(TARGETS tavon EXPORT tavonTargets
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development
        INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
if(TARGET tavon_shared AND NOT WIN32)
  install(TARGETS tavon_shared EXPORT tavonTargets
          LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development NAMELINK_COMPONENT development)
  # pkg-config's file, relocatable: the prefix is found from where the file is.
  file(RELATIVE_PATH TAVON_PC_TO_PREFIX "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
  configure_file("${CMAKE_CURRENT_LIST_DIR}/tavon.pc.in" "${CMAKE_CURRENT_BINARY_DIR}/tavon.pc" @ONLY)
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/tavon.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
          COMPONENT development)
endif()
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/tavon" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}"
        COMPONENT development)
install(EXPORT tavonTargets NAMESPACE tavon:: DESTINATION "${TAVON_CMAKE_DIR}" COMPONENT development)

configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/tavonConfig.cmake.in"
                              "${CMAKE_CURRENT_BINARY_DIR}/tavonConfig.cmake" INSTALL_DESTINATION "${TAVON_CMAKE_DIR}")
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/tavonConfigVersion.cmake"
                                 VERSION "${PROJECT_VERSION}" COMPATIBILITY SameMinorVersion)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/tavonConfig.cmake" "${CMAKE_CURRENT_BINARY_DIR}/tavonConfigVersion.cmake"
        DESTINATION "${TAVON_CMAKE_DIR}" COMPONENT development)
