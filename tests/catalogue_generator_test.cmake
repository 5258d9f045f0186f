# The catalogue generator refuses a catalogue that misses a code or a field, holds an entry of an
# unknown code, names an unknown code in a text, or breaks the format: it ends with an error that
# names the fault, and writes nothing. The real catalogue passes.
#
#   cmake -DGENERATOR=<tavon_catalogue_gen> -DSOURCE_DIR=<repository root> -DWORK_DIR=<scratch> -P catalogue_generator_test.cmake
cmake_minimum_required(VERSION 3.20)

file(READ "${SOURCE_DIR}/docs/catalogue.txt" catalogue)
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# run(<name> <catalogue text> <expected exit: 0 or 1> [<text the error must hold>])
function(run name text expected_exit)
  set(dir "${WORK_DIR}/${name}")
  file(MAKE_DIRECTORY "${dir}")
  file(WRITE "${dir}/catalogue.txt" "${text}")
  execute_process(
    COMMAND "${GENERATOR}" "${dir}/catalogue.txt" "${SOURCE_DIR}/man/belun.1.in" "${dir}/katalog.html"
            "${dir}/catalogue.inc" "${dir}/belun.1"
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_exit)
    message(FATAL_ERROR "${name}: the generator ended with ${rc}, expected ${expected_exit}:\n${err}")
  endif()
  if(ARGC GREATER 3 AND NOT err MATCHES "${ARGV3}")
    message(FATAL_ERROR "${name}: the error does not say '${ARGV3}':\n${err}")
  endif()
  if(expected_exit EQUAL 0)
    if(NOT EXISTS "${dir}/katalog.html" OR NOT EXISTS "${dir}/catalogue.inc" OR NOT EXISTS "${dir}/belun.1")
      message(FATAL_ERROR "${name}: not all three files were written")
    endif()
  elseif(EXISTS "${dir}/katalog.html" OR EXISTS "${dir}/catalogue.inc" OR EXISTS "${dir}/belun.1")
    message(FATAL_ERROR "${name}: a file was written despite the fault")
  endif()
  message(STATUS "${name}: ended with ${rc} as expected")
endfunction()

# replaced(<variable> <from> <to>): the catalogue with the first <from> replaced, which must be there.
function(replaced variable from to)
  string(FIND "${catalogue}" "${from}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the catalogue has no '${from}': revise this test")
  endif()
  string(LENGTH "${from}" length)
  string(SUBSTRING "${catalogue}" 0 ${at} before)
  math(EXPR after_at "${at} + ${length}")
  string(SUBSTRING "${catalogue}" ${after_at} -1 after)
  set(${variable} "${before}${to}${after}" PARENT_SCOPE)
endfunction()

run(complete "${catalogue}" 0)
replaced(text "@code EL051\n" "@code EL951\n")
run(code-missing-and-unknown "${text}" 1 "EL951: no such code.*the code EL051 of the error table has no entry")
replaced(text "@field AA0690\n" "@field AA0691\n")
run(field-missing "${text}" 1 "the field AA0690 of the attribute tables has no entry")
replaced(text "@code EL051\ntitle: " "@code EL051\ntitle: Podle EL999 ")
run(unknown-code-named "${text}" 1 "catalogue.txt:[0-9]+: EL051 title: names EL999")
replaced(text "@code EL051\ntitle: " "@code EL051\nnadpis: ")
run(unknown-key "${text}" 1 "catalogue.txt:[0-9]+: expected 'key: text'.*EL051 has no title")
replaced(text "@code EL051\n" "@code EL051\n   ")
run(bad-continuation "${text}" 1 "catalogue.txt:[0-9]+: a continuation line begins with exactly two spaces")
replaced(text "\n\n@code EL052\n" "\n@code EL052\n")
run(no-blank-line "${text}" 1 "an entry begins without a blank line")
replaced(text "@code EL051\ntitle: " "@code EL051\ntitle: ≤ ")
run(character-without-windows-1250 "${text}" 1 "U\\+2264")
