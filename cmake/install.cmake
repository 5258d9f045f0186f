# Installation and packages.
#
#   cmake --install build --prefix /usr/local     belun, its manual page and the example documents
#   cpack --config build/CPackConfig.cmake         a Debian package (a ZIP when cross-compiled for
#                                                  Windows, see cmake/mingw-w64.cmake)
#
# Layout on Linux: bin/belun, share/man/man1/belun.1, share/doc/belun/{README.md,docs/,examples/}.
# In the Windows ZIP: belun.exe, README.md, docs/ and examples/ in one folder.

include_guard(GLOBAL)
include(GNUInstallDirs)

set(TAVON_PACKAGE_NAME belun)

if(WIN32)
  set(_tavon_bin_dir .)
  set(_tavon_doc_dir .)
else()
  set(_tavon_bin_dir "${CMAKE_INSTALL_BINDIR}")
  set(_tavon_doc_dir "${CMAKE_INSTALL_DATAROOTDIR}/doc/${TAVON_PACKAGE_NAME}")
  install(FILES "${PROJECT_SOURCE_DIR}/man/belun.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()

install(TARGETS belun RUNTIME DESTINATION "${_tavon_bin_dir}")
install(FILES "${PROJECT_SOURCE_DIR}/README.md" DESTINATION "${_tavon_doc_dir}")
# The README shows this screenshot by its relative path.
install(FILES "${PROJECT_SOURCE_DIR}/docs/report.png" DESTINATION "${_tavon_doc_dir}/docs")
install(FILES "${PROJECT_SOURCE_DIR}/examples/duv-ok.xml" "${PROJECT_SOURCE_DIR}/examples/duv-chyby.xml"
        DESTINATION "${_tavon_doc_dir}/examples")

# Package metadata, common to all generators.
set(CPACK_PACKAGE_NAME "${TAVON_PACKAGE_NAME}")
set(CPACK_PACKAGE_VENDOR "TAVON")
set(CPACK_PACKAGE_CONTACT "TAVON team <tavon@duv.example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checker for DUV salary-survey XML files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "belun checks a DUV salary-survey file (XML, Windows-1250) before delivery:\n"
       "the syntax and order of the elements, every field against its attribute\n"
       "table, the code lists and registers, the rules across the fields of one\n"
       "employee and across all employees of one employer. Every finding becomes\n"
       "a row of an error report in HTML, plain text, CSV or XML.")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
# The packages hold the program, not the library for developers (component "development").
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};runtime;/")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_PACKAGE_FILE_NAME "${TAVON_PACKAGE_NAME}-${PROJECT_VERSION}-win64")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Dependencies from the linked shared libraries where dpkg-shlibdeps (dpkg-dev) is at hand,
  # otherwise the two libraries every build of belun links.
  find_program(TAVON_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(TAVON_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6")
  endif()
endif()

include(CPack)
