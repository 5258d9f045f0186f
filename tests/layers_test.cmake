# The parts of src/ form a pipeline whose includes point one way only: a file may include its own
# part, the public headers and the parts below it, never a part above it. The clients (cli/,
# server/, web/) include the public headers only.
#
#   cmake -DSOURCE_DIR=<repository root> -P layers_test.cmake
cmake_minimum_required(VERSION 3.20)
set(order base input data reader document fields records employer report api)
# Below everything: the public vocabulary, the generated tables of the data part and the generated
# entries of the catalogue.
set(bottom tavon tavon_data tavon_catalogue)

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
set(broken "")
foreach(file IN LISTS files)
    string(REGEX MATCH "^[^/]+" part "${file}")
    list(FIND order "${part}" rank)
    if(rank LESS 0)
        string(APPEND broken "  ${file}: src/${part} is no part of the pipeline\n")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/src/${file}" includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include \"([^/\"]+)/.*" "\\1" used "${line}")
        if(used IN_LIST bottom)
            continue()
        endif()
        list(FIND order "${used}" used_rank)
        if(used_rank LESS 0 OR used_rank GREATER rank)
            string(APPEND broken "  ${file}: ${line} (a part above ${part})\n")
        endif()
    endforeach()
endforeach()

# The clients see the public API only: the command (cli/) and the service (server/) their own files
# and tavon/, the browser edition (web/) tavon/ alone.
foreach(client cli server web)
    file(GLOB_RECURSE client_files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${client}/*.h" "${SOURCE_DIR}/${client}/*.cpp")
    foreach(file IN LISTS client_files)
        file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^#include \"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([^/\"]+)/.*" "\\1" used "${line}")
            if(NOT used STREQUAL "tavon" AND NOT (client MATCHES "^(cli|server)$" AND used STREQUAL client))
                string(APPEND broken "  ${file}: ${line} (a client includes the library's inside)\n")
            endif()
        endforeach()
    endforeach()
    list(APPEND files ${client_files})
endforeach()

if(broken)
    message(FATAL_ERROR "includes that point the wrong way:\n${broken}")
endif()
list(LENGTH files count)
message(STATUS "${count} files, every include points down the pipeline, clients see tavon/ only")
