# Read by cpack once per generator (CPACK_PROJECT_CONFIG_FILE, see cmake/install.cmake). For the
# Debian package, packaging/install-docs.cmake installs the Debian copyright file and changelog
# instead of LICENSE, and writes the package's prefix into the manual pages (cpack installs into a
# staging folder).
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_CUSTOM_INSTALL_VARIABLES
      "TAVON_DEBIAN_PACKAGE=ON"
      "TAVON_RUNTIME_PREFIX=${CPACK_PACKAGING_INSTALL_PREFIX}")
  # Each package's description names its own summary line (cmake/install.cmake); CPackDeb would put
  # the project's summary in front of every one.
  unset(CPACK_PACKAGE_DESCRIPTION_SUMMARY)
endif()
