# Installs the manual pages and the licence; run by `cmake --install` and cpack (install(SCRIPT) in
# cmake/install.cmake, which sets TAVON_PACKAGE_NAME, TAVON_SOURCE_DIR, TAVON_STAGING_DIR,
# TAVON_MAN_PAGES, TAVON_MAN_DIR, TAVON_DOC_DIR and TAVON_DATAROOT_DIR).
#
# - The manual pages get the folders of the examples, of the sample data set and of the documentation
#   of the prefix in use (the strings Ex, Dv and Dc that they define)
#   and are compressed with gzip -9n, as Debian wants them.
# - The systemd unit of belun-server (TAVON_SERVICE_UNIT, when the service is built) goes into
#   lib/systemd/system, its ExecStart naming the program in the prefix's bin folder (TAVON_BIN_DIR).
# - A plain installation gets LICENSE; a Debian package (TAVON_DEBIAN_PACKAGE, set by cpack, see
#   packaging/cpack-options.cmake) gets the Debian copyright file and changelog.Debian.gz instead,
#   and its lintian overrides.
#
# TAVON_RUNTIME_PREFIX, when set, is the prefix the files will have on the target machine (cpack's
# own install prefix may be its staging folder).

if(TAVON_RUNTIME_PREFIX)
  set(_prefix "${TAVON_RUNTIME_PREFIX}")
else()
  set(_prefix "${CMAKE_INSTALL_PREFIX}")
endif()

# _tavon_dir(<var> <dir>): <dir> under the installation prefix, unless it is absolute.
macro(_tavon_dir var dir)
  if(IS_ABSOLUTE "${dir}")
    set(${var} "${dir}")
  else()
    set(${var} "${CMAKE_INSTALL_PREFIX}/${dir}")
  endif()
endmacro()

# _tavon_gzip(<file>): writes <file>.gz, without name and time stamp, at the highest compression.
find_program(_tavon_gzip_program gzip)
function(_tavon_gzip file)
  execute_process(COMMAND "${_tavon_gzip_program}" -9 -n -c "${file}" OUTPUT_FILE "${file}.gz"
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${file}")
  endif()
endfunction()

# A folder of this run's own: cpack and cmake --install of one build tree may run at the same time.
string(RANDOM LENGTH 12 _run)
set(_stage "${TAVON_STAGING_DIR}/${_run}")
file(MAKE_DIRECTORY "${_stage}/man")

# The folders of the documentation, the examples and the sample data set as a manual page writes
# them: backslash and minus escaped.
if(IS_ABSOLUTE "${TAVON_DOC_DIR}")
  set(_docs "${TAVON_DOC_DIR}")
else()
  set(_docs "${_prefix}/${TAVON_DOC_DIR}")
endif()
string(REPLACE "\\" "\\e" _docs "${_docs}")
string(REPLACE "-" "\\-" _docs "${_docs}")
set(_examples "${_docs}/examples")
set(_sample_data "${_docs}/data\\-vzor")
set(_string_Ex "${_examples}")
set(_string_Dv "${_sample_data}")
set(_string_Dc "${_docs}")

set(_pages "")
foreach(page IN LISTS TAVON_MAN_PAGES)
  get_filename_component(name "${page}" NAME)
  file(READ "${page}" text)
  foreach(string_name Ex Dv Dc)
    string(REGEX MATCH "\n\\.ds ${string_name} [^\n]*" line "${text}")
    if(line)
      string(REPLACE "${line}" "\n.ds ${string_name} ${_string_${string_name}}" text "${text}")
    endif()
  endforeach()
  file(WRITE "${_stage}/man/${name}" "${text}")
  if(_tavon_gzip_program)
    _tavon_gzip("${_stage}/man/${name}")
    list(APPEND _pages "${_stage}/man/${name}.gz")
  else()
    list(APPEND _pages "${_stage}/man/${name}")
  endif()
endforeach()
_tavon_dir(_man1 "${TAVON_MAN_DIR}/man1")
file(INSTALL DESTINATION "${_man1}" TYPE FILE FILES ${_pages})

if(TAVON_SERVICE_UNIT)
  file(READ "${TAVON_SERVICE_UNIT}" _unit)
  if(IS_ABSOLUTE "${TAVON_BIN_DIR}")
    set(_program "${TAVON_BIN_DIR}/belun-server")
  else()
    set(_program "${_prefix}/${TAVON_BIN_DIR}/belun-server")
  endif()
  string(REPLACE "/usr/bin/belun-server" "${_program}" _unit "${_unit}")
  file(WRITE "${_stage}/belun-server.service" "${_unit}")
  _tavon_dir(_units "lib/systemd/system")
  file(INSTALL DESTINATION "${_units}" TYPE FILE FILES "${_stage}/belun-server.service")
endif()

_tavon_dir(_doc "${TAVON_DOC_DIR}")
if(TAVON_DEBIAN_PACKAGE)
  file(COPY "${TAVON_SOURCE_DIR}/packaging/debian/changelog" DESTINATION "${_stage}")
  file(RENAME "${_stage}/changelog" "${_stage}/changelog.Debian")
  _tavon_gzip("${_stage}/changelog.Debian")
  file(INSTALL DESTINATION "${_doc}" TYPE FILE
       FILES "${TAVON_SOURCE_DIR}/packaging/debian/copyright" "${_stage}/changelog.Debian.gz")
  _tavon_dir(_overrides "${TAVON_DATAROOT_DIR}/lintian/overrides")
  file(INSTALL DESTINATION "${_overrides}" TYPE FILE
       FILES "${TAVON_SOURCE_DIR}/packaging/debian/lintian-overrides" RENAME "${TAVON_PACKAGE_NAME}")
else()
  file(INSTALL DESTINATION "${_doc}" TYPE FILE FILES "${TAVON_SOURCE_DIR}/LICENSE")
endif()
file(REMOVE_RECURSE "${_stage}")
