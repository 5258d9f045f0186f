# Installing the validator library for programs outside this tree: the shared library libtavon.so.1
# with its real file (component "library"), and the static library, the link name libtavon.so, the
# public headers under include/tavon, a CMake package config and a pkg-config file (tavon.pc, for the
# shared library's C interface) (component "development"), so that
#
#   find_package(tavon REQUIRED)
#   target_link_libraries(app PRIVATE tavon::tavon)      (static; tavon::shared: libtavon.so.1)
#
# or `cc app.c $(pkg-config --cflags --libs tavon)` works against the install prefix.
#
# The Debian packages libtavon1 and libtavon-dev need the multiarch library folder
# (lib/x86_64-linux-gnu), which GNUInstallDirs picks only for the prefix /usr. They get the same
# files in that folder through components of their own, "deb_library" and "deb_development", left
# out of a plain `cmake --install` (EXCLUDE_FROM_ALL) and installed by cpack alone.

include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# _tavon_install_library(<libdir> <library component> <development component> <export set> [EXCLUDE_FROM_ALL])
function(_tavon_install_library libdir lib_component dev_component export_set)
  set(exclude ${ARGN})
  set(cmake_dir "${libdir}/cmake/tavon")
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${export_set}")
  install(TARGETS tavon EXPORT ${export_set}
          ARCHIVE DESTINATION "${libdir}" COMPONENT ${dev_component} ${exclude}
          INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
  if(TARGET tavon_shared AND NOT WIN32)
    install(TARGETS tavon_shared EXPORT ${export_set}
            LIBRARY DESTINATION "${libdir}" COMPONENT ${lib_component} NAMELINK_COMPONENT ${dev_component} ${exclude})
    # pkg-config's file, relocatable: the prefix is found from where the file is.
    file(RELATIVE_PATH TAVON_PC_TO_PREFIX "/root/${libdir}/pkgconfig" "/root")
    set(TAVON_PC_LIBDIR "${libdir}")
    configure_file("${PROJECT_SOURCE_DIR}/cmake/tavon.pc.in" "${out}/tavon.pc" @ONLY)
    install(FILES "${out}/tavon.pc" DESTINATION "${libdir}/pkgconfig" COMPONENT ${dev_component} ${exclude})
  endif()
  install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/tavon" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}"
          COMPONENT ${dev_component} ${exclude})
  install(EXPORT ${export_set} FILE tavonTargets.cmake NAMESPACE tavon:: DESTINATION "${cmake_dir}"
          COMPONENT ${dev_component} ${exclude})
  configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/tavonConfig.cmake.in"
                                "${out}/tavonConfig.cmake" INSTALL_DESTINATION "${cmake_dir}")
  install(FILES "${out}/tavonConfig.cmake" "${CMAKE_CURRENT_BINARY_DIR}/tavonConfigVersion.cmake"
          DESTINATION "${cmake_dir}" COMPONENT ${dev_component} ${exclude})
endfunction()

write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/tavonConfigVersion.cmake"
                                 VERSION "${PROJECT_VERSION}" COMPATIBILITY SameMinorVersion)
_tavon_install_library("${CMAKE_INSTALL_LIBDIR}" library development tavonTargets)

if(NOT WIN32 AND TARGET tavon_shared)
  if(CMAKE_LIBRARY_ARCHITECTURE)
    set(TAVON_DEBIAN_LIBDIR "lib/${CMAKE_LIBRARY_ARCHITECTURE}")
  else()
    set(TAVON_DEBIAN_LIBDIR lib)
  endif()
  _tavon_install_library("${TAVON_DEBIAN_LIBDIR}" deb_library deb_development tavonDebianTargets EXCLUDE_FROM_ALL)
endif()
