# Installing the validator library for programs outside this tree (component "development"):
# the static library, the public headers under include/tavon and a CMake package config, so that
#
#   find_package(tavon REQUIRED)
#   target_link_libraries(app PRIVATE tavon::tavon)
#
# works against the install prefix. The Debian package and the Windows ZIP hold the program only.

include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TAVON_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/tavon")

install(TARGETS tavon EXPORT tavonTargets
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development
        INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/tavon" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}"
        COMPONENT development)
install(EXPORT tavonTargets NAMESPACE tavon:: DESTINATION "${TAVON_CMAKE_DIR}" COMPONENT development)

configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/tavonConfig.cmake.in"
                              "${CMAKE_CURRENT_BINARY_DIR}/tavonConfig.cmake" INSTALL_DESTINATION "${TAVON_CMAKE_DIR}")
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/tavonConfigVersion.cmake"
                                 VERSION "${PROJECT_VERSION}" COMPATIBILITY SameMinorVersion)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/tavonConfig.cmake" "${CMAKE_CURRENT_BINARY_DIR}/tavonConfigVersion.cmake"
        DESTINATION "${TAVON_CMAKE_DIR}" COMPONENT development)
