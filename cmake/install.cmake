# Installation and packages.
#
#   cmake --install build --prefix /usr/local     belun, belun-folder, belun-batch, their manual
#                                                  pages, the licence and the example documents
#   cpack --config build/CPackConfig.cmake         the Debian packages belun, libtavon1 and
#                                                  libtavon-dev (cmake/library.cmake); a ZIP when
#                                                  cross-compiled for Windows, see cmake/mingw-w64.cmake
#
# Layout on Linux: bin/belun, bin/belun-folder (tools/validate-folder.sh), bin/belun-batch (its
# helper), bin/belun-server (the checking service, where cpp-httplib is installed) with
# lib/systemd/system/belun-server.service and, with -DTAVON_WEB_PAGE, share/belun/web/,
# share/man/man1/belun.1.gz, belun-folder.1.gz, belun-batch.1.gz and belun-server.1.gz,
# share/doc/belun/{README.md,katalog.html,LICENSE,docs/,examples/,data-vzor/} (docs/ the screenshots
# and report.schema.json, the JSON Schema of the JSON report).
# The Debian package has the Debian copyright file and changelog.Debian.gz in place of LICENSE
# (packaging/install-docs.cmake). belun.1 and katalog.html are generated (cmake/tavon_catalogue.cmake).
#
# The Windows ZIP is one folder for the people who check their files before delivery: belun.exe,
# tavon.dll (the library for other programs, with libtavon.dll.a, tavon.def and include/tavon/c_api.h),
# belun-kontrola.bat (a file dragged onto it is checked and its HTML report opened), CTI-ME.txt
# (Czech instructions, Windows-1250, CR LF), katalog.html, report.schema.json, LICENSE.txt, the
# examples and the sample data folder.
#
# Documents to hand out: the catalogue of codes and fields katalog.html, and TAVON_EXTRA_DOCS (e.g. an
# HTML manual belun.html), a list of paths; installed into share/doc/belun, or into the top folder of
# the ZIP where CTI-ME.txt names them.

include_guard(GLOBAL)
include(GNUInstallDirs)

set(TAVON_PACKAGE_NAME belun)
set(TAVON_DEBIAN_REVISION 1)
set(TAVON_WEB_PAGE "" CACHE PATH
    "A built browser edition (the folder of web/build.sh) that belun-server serves at /; installed into share/belun/web")
set(TAVON_EXTRA_DOCS "" CACHE STRING
    "Documents to install beside the README and put into the Windows ZIP (list of paths), e.g. belun.html")
set(_tavon_packaging "${PROJECT_SOURCE_DIR}/packaging")
set(_tavon_examples "${PROJECT_SOURCE_DIR}/examples/duv-ok.xml" "${PROJECT_SOURCE_DIR}/examples/duv-chyby.xml")
# The files of a data folder, as shipped (samples, their campaign.txt says so).
file(GLOB _tavon_sample_data "${PROJECT_SOURCE_DIR}/data/*.txt" "${PROJECT_SOURCE_DIR}/data/scale*.csv")
foreach(_doc IN LISTS TAVON_EXTRA_DOCS)
  if(NOT EXISTS "${_doc}")
    message(FATAL_ERROR "TAVON_EXTRA_DOCS: ${_doc} does not exist")
  endif()
  get_filename_component(_name "${_doc}" NAME)
  if(_name STREQUAL "katalog.html")
    message(FATAL_ERROR "TAVON_EXTRA_DOCS: katalog.html is written by the build from docs/catalogue.txt")
  endif()
endforeach()
# The documents handed out: the generated catalogue first.
set(_tavon_docs "${TAVON_CATALOGUE_PAGE}" ${TAVON_EXTRA_DOCS})

# Directories of a package are rwxr-xr-x whatever the umask of the one who builds it.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  set(_tavon_win "${CMAKE_BINARY_DIR}/packaging/windows")
  install(TARGETS belun RUNTIME DESTINATION .)

  # Windows text files: CR LF line ends; CTI-ME.txt in Windows-1250, as Notepad expects it.
  configure_file("${_tavon_packaging}/windows/belun-kontrola.bat" "${_tavon_win}/belun-kontrola.bat"
                 @ONLY NEWLINE_STYLE CRLF)
  configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${_tavon_win}/LICENSE.txt" @ONLY NEWLINE_STYLE CRLF)

  # The lines of CTI-ME.txt that name the extra documents (in Czech, like the rest of it).
  set(TAVON_CTI_ME_DOCS "")
  foreach(_doc IN LISTS _tavon_docs)
    get_filename_component(_name "${_doc}" NAME)
    if(_name STREQUAL "belun.html")
      set(_what "příručka programu (otevřete v prohlížeči)")
    elseif(_name STREQUAL "katalog.html")
      set(_what "vysvětlení všech kódů chyb a prvků")
    else()
      set(_what "další dokumentace")
    endif()
    # The name padded to the column of the descriptions in CTI-ME.txt's list of files.
    string(LENGTH "${_name}" _length)
    set(_padded "${_name} ")
    foreach(_i RANGE ${_length} 22)
      string(APPEND _padded " ")
    endforeach()
    # CR LF written here: configure_file's NEWLINE_STYLE converts the line ends of the template, not
    # those of a substituted value.
    string(APPEND TAVON_CTI_ME_DOCS "  ${_padded}${_what}\r\n")
  endforeach()
  configure_file("${_tavon_packaging}/windows/CTI-ME.txt" "${_tavon_win}/CTI-ME.utf8.txt"
                 @ONLY NEWLINE_STYLE CRLF)
  find_program(TAVON_ICONV iconv)
  if(NOT TAVON_ICONV)
    message(FATAL_ERROR "iconv is needed to write CTI-ME.txt in Windows-1250 (Debian: libc-bin)")
  endif()
  execute_process(COMMAND "${TAVON_ICONV}" -f UTF-8 -t CP1250
                  INPUT_FILE "${_tavon_win}/CTI-ME.utf8.txt" OUTPUT_FILE "${_tavon_win}/CTI-ME.txt"
                  RESULT_VARIABLE _rc ERROR_VARIABLE _err)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "packaging/windows/CTI-ME.txt cannot be written in Windows-1250: ${_err}")
  endif()

  # The library for payroll programs that call the validator: tavon.dll beside belun.exe, its import
  # library for MinGW (libtavon.dll.a), the list of its exports for Microsoft's lib.exe (tavon.def)
  # and the header of its C interface.
  install(TARGETS tavon_shared RUNTIME DESTINATION . ARCHIVE DESTINATION .)
  install(FILES "${CMAKE_BINARY_DIR}/tavon.def" DESTINATION .)
  install(FILES "${PROJECT_SOURCE_DIR}/include/tavon/c_api.h" DESTINATION include/tavon)
  install(PROGRAMS "${_tavon_win}/belun-kontrola.bat" DESTINATION .)
  install(FILES "${_tavon_win}/CTI-ME.txt" "${_tavon_win}/LICENSE.txt" ${_tavon_docs}
          "${PROJECT_SOURCE_DIR}/docs/report.schema.json" DESTINATION .)
  install(FILES ${_tavon_examples} DESTINATION examples)
  # The sample data set, to be copied as "data" beside belun.exe and filled with a campaign's files.
  install(FILES ${_tavon_sample_data} DESTINATION data-vzor)
else()
  set(_tavon_doc_dir "${CMAKE_INSTALL_DATAROOTDIR}/doc/${TAVON_PACKAGE_NAME}")
  install(TARGETS belun RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  # belun-batch beside belun: belun-folder looks for it there. (Not in the browser edition's build.)
  set(_tavon_man_pages "${TAVON_MANUAL_PAGE};${PROJECT_SOURCE_DIR}/man/belun-folder.1")
  if(TARGET belun-batch)
    install(TARGETS belun-batch RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
    list(APPEND _tavon_man_pages "${PROJECT_SOURCE_DIR}/man/belun-batch.1")
  endif()
  # The checking service with its manual page and its systemd unit (installed by the script below,
  # naming the program's path of the prefix in use); the browser edition's page for its GET / when
  # one was built (web/build.sh) and named with -DTAVON_WEB_PAGE=build-web.
  set(_tavon_service_unit "")
  if(TARGET belun-server)
    install(TARGETS belun-server RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
    list(APPEND _tavon_man_pages "${PROJECT_SOURCE_DIR}/man/belun-server.1")
    set(_tavon_service_unit "${_tavon_packaging}/belun-server.service")
    if(TAVON_WEB_PAGE)
      set(_tavon_page_files "")
      foreach(_file index.html style.css app.js bundle.js katalog.html)
        if(EXISTS "${TAVON_WEB_PAGE}/${_file}")
          list(APPEND _tavon_page_files "${TAVON_WEB_PAGE}/${_file}")
        elseif(NOT _file STREQUAL "katalog.html")
          message(FATAL_ERROR "TAVON_WEB_PAGE: ${TAVON_WEB_PAGE}/${_file} is missing (build it with web/build.sh)")
        endif()
      endforeach()
      install(FILES ${_tavon_page_files} DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/${TAVON_PACKAGE_NAME}/web")
    endif()
  endif()
  install(PROGRAMS "${PROJECT_SOURCE_DIR}/tools/validate-folder.sh" DESTINATION "${CMAKE_INSTALL_BINDIR}"
          RENAME belun-folder)
  install(FILES "${PROJECT_SOURCE_DIR}/README.md" ${_tavon_docs} DESTINATION "${_tavon_doc_dir}")
  # The README shows these screenshots and links the JSON report's schema by their relative paths.
  install(FILES "${PROJECT_SOURCE_DIR}/docs/dashboard.png" "${PROJECT_SOURCE_DIR}/docs/report.png" "${PROJECT_SOURCE_DIR}/docs/web.png"
          "${PROJECT_SOURCE_DIR}/docs/report.schema.json" DESTINATION "${_tavon_doc_dir}/docs")
  install(FILES ${_tavon_examples} DESTINATION "${_tavon_doc_dir}/examples")
  install(FILES ${_tavon_sample_data} DESTINATION "${_tavon_doc_dir}/data-vzor")

  # Manual pages (compressed, naming the examples' folder of the prefix in use) and the licence are
  # installed by a script, as they depend on the prefix and on whether a Debian package is made.
  install(CODE "
    set(TAVON_PACKAGE_NAME \"${TAVON_PACKAGE_NAME}\")
    set(TAVON_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
    set(TAVON_STAGING_DIR \"${CMAKE_BINARY_DIR}/packaging/install\")
    set(TAVON_MAN_PAGES \"${_tavon_man_pages}\")
    set(TAVON_SERVICE_UNIT \"${_tavon_service_unit}\")
    set(TAVON_BIN_DIR \"${CMAKE_INSTALL_BINDIR}\")
    set(TAVON_MAN_DIR \"${CMAKE_INSTALL_MANDIR}\")
    set(TAVON_DOC_DIR \"${_tavon_doc_dir}\")
    set(TAVON_DATAROOT_DIR \"${CMAKE_INSTALL_DATAROOTDIR}\")")
  install(SCRIPT "${_tavon_packaging}/install-docs.cmake")

  # The library's Debian packages (components deb_library and deb_development, cmake/library.cmake)
  # carry the Debian copyright file, changelog.Debian.gz and lintian overrides of their own.
  if(TARGET tavon_shared)
    set(_tavon_changelog "${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz")
    file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/packaging")
    execute_process(COMMAND gzip -9 -n -c "${_tavon_packaging}/debian/changelog" OUTPUT_FILE "${_tavon_changelog}"
                    RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0)
      message(FATAL_ERROR "gzip failed on packaging/debian/changelog")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_tavon_packaging}/debian/changelog")
    foreach(_component_package deb_library:libtavon1 deb_development:libtavon-dev)
      string(REPLACE ":" ";" _component_package "${_component_package}")
      list(GET _component_package 0 _component)
      list(GET _component_package 1 _package)
      install(FILES "${_tavon_packaging}/debian/copyright" "${_tavon_changelog}"
              DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/${_package}" COMPONENT ${_component} EXCLUDE_FROM_ALL)
      install(FILES "${_tavon_packaging}/debian/${_package}/lintian-overrides"
              DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides" RENAME ${_package}
              COMPONENT ${_component} EXCLUDE_FROM_ALL)
    endforeach()
  endif()
endif()

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
       "a row of an error report in HTML, plain text, CSV or XML. The script\n"
       "belun-folder checks all files of a folder, several at a time;\n"
       "belun-server checks files posted to it over HTTP.")
# The licence: MIT (packaging/debian/copyright gives it under its Debian name, Expat).
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RPM_PACKAGE_LICENSE "MIT")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
# Read by cpack once per generator: tells packaging/install-docs.cmake that it fills a Debian package.
set(CPACK_PROJECT_CONFIG_FILE "${_tavon_packaging}/cpack-options.cmake")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_PACKAGE_FILE_NAME "${TAVON_PACKAGE_NAME}-${PROJECT_VERSION}-win64")
  # The ZIP holds the program and its DLL (component "runtime"), not the library for developers.
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};runtime;/")
else()
  # Three packages from one run: belun (component "runtime"), libtavon1 (the shared library) and
  # libtavon-dev (what a program needs to build against it), the latter two from the components that
  # install into the multiarch library folder (cmake/library.cmake).
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
  set(CPACK_COMPONENTS_ALL runtime)
  if(TARGET tavon_shared)
    list(APPEND CPACK_COMPONENTS_ALL deb_library deb_development)
  endif()
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${TAVON_PACKAGE_NAME})
  set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}\n${CPACK_PACKAGE_DESCRIPTION}")
  set(CPACK_DEBIAN_DEB_LIBRARY_PACKAGE_NAME libtavon1)
  set(CPACK_DEBIAN_DEB_LIBRARY_PACKAGE_SECTION libs)
  # Its shlibs file ("libtavon 1 libtavon1 (>= version)"). CPack reads this setting for all packages
  # only, but the library is the one shared object among them. The ldconfig trigger is a control
  # file of its own: CPack writes postinst and postrm scripts calling ldconfig instead.
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
  set(CPACK_DEBIAN_DEB_LIBRARY_PACKAGE_CONTROL_EXTRA "${_tavon_packaging}/debian/libtavon1/triggers")
  string(CONCAT CPACK_DEBIAN_DEB_LIBRARY_DESCRIPTION
         "shared library for checking DUV salary-survey XML files\n"
         "libtavon checks a DUV salary-survey file (XML, Windows-1250) as the belun\n"
         "program does and hands every finding to the calling program: its code,\n"
         "weight, place in the file and description. It has a C interface\n"
         "(tavon/c_api.h) for programs in any language and a C++ API.\n"
         "This package holds the shared library libtavon.so.1.")
  set(CPACK_DEBIAN_DEB_DEVELOPMENT_PACKAGE_NAME libtavon-dev)
  set(CPACK_DEBIAN_DEB_DEVELOPMENT_PACKAGE_SECTION libdevel)
  set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
  set(CPACK_COMPONENT_DEB_DEVELOPMENT_DEPENDS deb_library)
  string(CONCAT CPACK_DEBIAN_DEB_DEVELOPMENT_DESCRIPTION
         "development files of libtavon, the DUV salary-survey checker\n"
         "libtavon checks a DUV salary-survey file (XML, Windows-1250) as the belun\n"
         "program does and hands every finding to the calling program.\n"
         "This package holds the headers (tavon/c_api.h, the C++ API), the link\n"
         "name libtavon.so, the static library libtavon.a, the pkg-config file\n"
         "tavon.pc and the CMake package (find_package(tavon): tavon::shared,\n"
         "tavon::tavon).")
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # Version 0.9-1: upstream version and Debian revision; packaging/debian/changelog must agree.
  set(CPACK_DEBIAN_PACKAGE_RELEASE ${TAVON_DEBIAN_REVISION})
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # Dependencies from the linked shared libraries where dpkg-shlibdeps (dpkg-dev) is at hand,
  # otherwise the two libraries every build of belun links (and belun-server's HTTP library).
  find_program(TAVON_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(TAVON_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6")
    if(TARGET belun-server)
      string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libcpp-httplib0.11")
    endif()
  endif()
endif()

include(CPack)
