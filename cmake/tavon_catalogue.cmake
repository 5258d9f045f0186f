# The catalogue of codes and fields: docs/catalogue.txt turned at build time into
#   - the page katalog.html (${CMAKE_BINARY_DIR}/doc/katalog.html), installed beside the README and
#     put into the Windows ZIP,
#   - the explanations that the HTML report embeds (tavon_catalogue/catalogue.inc, included by
#     src/report/catalogue.cpp),
#   - the manual page belun.1 (${CMAKE_BINARY_DIR}/man/belun.1): man/belun.1.in with the list of codes.
#
#   include(cmake/tavon_catalogue.cmake)
#   tavon_add_catalogue(<target>)
#
# The generator (tavon_catalogue_gen, built first; see host-tools.cmake for cross builds) checks the
# catalogue against the error table and the attribute tables: a code or field without entry, an entry
# of an unknown one, or a line that breaks the format stops the build, naming the line.

include_guard(GLOBAL)

set(TAVON_CATALOGUE_PAGE "${CMAKE_BINARY_DIR}/doc/katalog.html")
set(TAVON_MANUAL_PAGE "${CMAKE_BINARY_DIR}/man/belun.1")

function(tavon_add_catalogue target)
    cmake_path(GET CMAKE_CURRENT_FUNCTION_LIST_DIR PARENT_PATH root)
    if(NOT TARGET tavon_catalogue_gen)
        add_executable(tavon_catalogue_gen "${root}/tools/generators/catalogue_gen.cpp"
                                           "${root}/src/report/error_table.cpp")
        target_include_directories(tavon_catalogue_gen PRIVATE "${root}/src" "${root}/include")
        set_target_properties(tavon_catalogue_gen PROPERTIES CXX_STANDARD 20 CXX_STANDARD_REQUIRED ON)
    endif()

    set(gen "${CMAKE_CURRENT_BINARY_DIR}/${target}_catalogue")
    set(inc "${gen}/tavon_catalogue/catalogue.inc")
    file(MAKE_DIRECTORY "${gen}/tavon_catalogue" "${CMAKE_BINARY_DIR}/doc" "${CMAKE_BINARY_DIR}/man")
    add_custom_command(
        OUTPUT "${TAVON_CATALOGUE_PAGE}" "${inc}" "${TAVON_MANUAL_PAGE}"
        COMMAND tavon_catalogue_gen "${root}/docs/catalogue.txt" "${root}/man/belun.1.in"
                "${TAVON_CATALOGUE_PAGE}" "${inc}" "${TAVON_MANUAL_PAGE}"
        DEPENDS "${root}/docs/catalogue.txt" "${root}/man/belun.1.in" tavon_catalogue_gen
        COMMENT "Generating the catalogue of codes and fields (katalog.html, catalogue.inc, belun.1)"
        VERBATIM)
    add_custom_target(${target}_catalogue ALL DEPENDS "${TAVON_CATALOGUE_PAGE}" "${inc}" "${TAVON_MANUAL_PAGE}")
    add_dependencies(${target} ${target}_catalogue)
    target_include_directories(${target} PRIVATE "${gen}")
endfunction()
