# The built-in data set: the code lists, registers and tariffs of data/ turned into constant C++
# tables at build time.
#
#   include(cmake/tavon_data.cmake)
#   tavon_add_data(<target>)
#
# adds the generated tables to <target>. A changed data file regenerates its table at the next build.
# The tables are written by a small tool built first (tavon_data_gen), which reads the files with the
# same parsers as a data folder read at run time, so a broken line stops the build naming the file
# and the line.
#
# TAVON_DATA_DIR (cache, default empty): a folder of data files in the same formats; each file it
# holds replaces the one of that name in data/ (typically the campaign's kzam.txt, predkladatele.txt
# and poskytovatele.txt, and a campaign.txt naming the set).

include_guard(GLOBAL)

set(TAVON_DATA_DIR "" CACHE PATH
    "Folder of data files (kzam.txt, predkladatele.txt, poskytovatele.txt, ...) replacing the samples in data/")

# Adds the command that writes <folder>/<name>.inc, and appends it to the list variable `outputs`.
function(_tavon_data_table outputs folder name kind)
    set(output "${folder}/${name}.inc")
    set(files ${ARGN})
    list(FILTER files INCLUDE REGEX "[/\\]")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND tavon_data_gen ${kind} "${output}" ${ARGN}
        DEPENDS ${files} tavon_data_gen
        COMMENT "Generating ${name}.inc"
        VERBATIM)
    set(${outputs} ${${outputs}} "${output}" PARENT_SCOPE)
endfunction()

function(tavon_add_data target)
    cmake_path(GET CMAKE_CURRENT_FUNCTION_LIST_DIR PARENT_PATH root)
    set(shipped "${root}/data")

    if(NOT TARGET tavon_data_gen)
        add_executable(tavon_data_gen "${root}/tools/generators/data_gen.cpp"
                                      "${root}/src/data/data_files.cpp")
        target_include_directories(tavon_data_gen PRIVATE "${root}/src" "${root}/include")
        set_target_properties(tavon_data_gen PROPERTIES CXX_STANDARD 20 CXX_STANDARD_REQUIRED ON)
    endif()

    set(replacement "")
    if(TAVON_DATA_DIR)
        get_filename_component(replacement "${TAVON_DATA_DIR}" ABSOLUTE)
        if(NOT IS_DIRECTORY "${replacement}")
            message(FATAL_ERROR "TAVON_DATA_DIR=${TAVON_DATA_DIR} is not a folder")
        endif()
    endif()
    # The file of that name from TAVON_DATA_DIR when it holds one, else the shipped one.
    function(_tavon_data_file variable name)
        if(replacement AND EXISTS "${replacement}/${name}")
            set(${variable} "${replacement}/${name}" PARENT_SCOPE)
        else()
            set(${variable} "${shipped}/${name}" PARENT_SCOPE)
        endif()
    endfunction()

    # Generated includes live under <gen>/tavon_data so that their names cannot clash.
    set(gen "${CMAKE_CURRENT_BINARY_DIR}/${target}_gen")
    set(folder "${gen}/tavon_data")
    file(MAKE_DIRECTORY "${folder}")
    set(inc "")
    foreach(pair "States;staty.txt" "LegalForms;pravni_formy.txt" "EmploymentStatuses;postaveni.txt"
                 "EmploymentKinds;dppv.txt" "Nuts;nuts.txt" "Education;vzdelani.txt" "Occupations;kzam.txt")
        list(GET pair 0 name)
        list(GET pair 1 file)
        _tavon_data_file(path ${file})
        _tavon_data_table(inc "${folder}" ${name} list ${name} "${path}")
    endforeach()
    _tavon_data_file(submitters predkladatele.txt)
    _tavon_data_table(inc "${folder}" submitters submitters "${submitters}")
    _tavon_data_file(providers poskytovatele.txt)
    _tavon_data_table(inc "${folder}" providers providers "${providers}")
    set(scales "")
    foreach(scale scale1.csv scale2.csv scale3.csv scale5.csv)
        _tavon_data_file(path ${scale})
        list(APPEND scales "${path}")
    endforeach()
    _tavon_data_table(inc "${folder}" tariffs tariffs ${scales})

    # A sample unless the registers and the occupation list all come from TAVON_DATA_DIR.
    set(sample 1)
    if(replacement AND EXISTS "${replacement}/kzam.txt" AND EXISTS "${replacement}/predkladatele.txt"
       AND EXISTS "${replacement}/poskytovatele.txt")
        set(sample 0)
    endif()
    _tavon_data_file(campaign campaign.txt)
    if(EXISTS "${campaign}")
        _tavon_data_table(inc "${folder}" campaign campaign ${sample} "${campaign}")
    else()
        _tavon_data_table(inc "${folder}" campaign campaign ${sample})
    endif()

    target_sources(${target} PRIVATE ${inc})
    target_include_directories(${target} PRIVATE "${gen}")
endfunction()
