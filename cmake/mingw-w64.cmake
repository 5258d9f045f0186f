# Cross-compiling belun.exe for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
#
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DTAVON_TESTS=OFF
#   cmake --build build-win && cpack --config build-win/CPackConfig.cmake
#
# The executable is linked statically (C++ runtime and threads included), so belun.exe needs no DLL
# beside it. The build-time generators (of the data tables and of the catalogue) must run on the build
# machine: cmake/host-tools.cmake builds them with the host's compiler instead of the cross compiler.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The target triplet of the MinGW-w64 tools (-DTAVON_MINGW_PREFIX=... for another installation).
if(NOT TAVON_MINGW_PREFIX)
  set(TAVON_MINGW_PREFIX x86_64-w64-mingw32)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVON_MINGW_PREFIX)
# The posix-threads variant has the complete C++ thread support; the plain name is its alternative.
find_program(TAVON_MINGW_CXX NAMES ${TAVON_MINGW_PREFIX}-g++-posix ${TAVON_MINGW_PREFIX}-g++)
if(NOT TAVON_MINGW_CXX)
  # A plain error (not FATAL_ERROR, not find_program's REQUIRED): either of those stops CMake inside
  # this file, and it then goes on to complain about Ninja, which is not what is missing. With the
  # compiler's bare name CMake ends with its own "not found" for it instead.
  message(SEND_ERROR
    "The MinGW-w64 cross compiler ${TAVON_MINGW_PREFIX}-g++-posix (or ${TAVON_MINGW_PREFIX}-g++) "
    "was not found, so belun.exe cannot be built.\n"
    "On Debian or Ubuntu install it with\n"
    "  sudo apt-get install g++-mingw-w64-x86-64-posix\n"
    "then delete this build folder and configure it again.")
  set(TAVON_MINGW_CXX ${TAVON_MINGW_PREFIX}-g++-posix)
  unset(TAVON_MINGW_CXX CACHE)
endif()
find_program(TAVON_MINGW_RC NAMES ${TAVON_MINGW_PREFIX}-windres)
set(CMAKE_CXX_COMPILER "${TAVON_MINGW_CXX}")
if(TAVON_MINGW_RC)
  set(CMAKE_RC_COMPILER "${TAVON_MINGW_RC}")
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${TAVON_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Read right after project(): replaces the cross-compiled table generator by a host build of it.
set(CMAKE_PROJECT_tavon_INCLUDE "${CMAKE_CURRENT_LIST_DIR}/host-tools.cmake")
