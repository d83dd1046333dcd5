# Extracts the texts the sources mark for translation into OUTPUT (a pot).
# With COMPARE: fails when that pot differs from OUTPUT but for its creation
# date. With MERGE: merges each of LANGUAGES' .po with the new pot.
cmake_policy(VERSION 3.25)
set(sources)
foreach(dir ${DIRS})
  file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${dir}/*.cpp ${SOURCE_DIR}/${dir}/*.h)
  list(APPEND sources ${found})
endforeach()
list(SORT sources)
get_filename_component(out_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
# Quiet unless it fails: it always asks for a bug address, which has no place here.
execute_process(COMMAND ${XGETTEXT} ${ARGS} -o ${OUTPUT} ${sources}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE rc ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "xgettext failed: ${errors}")
endif()

function(read_without_date path out)
  file(READ ${path} text)
  string(REGEX REPLACE "\"POT-Creation-Date:[^\n]*\n" "" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

if(COMPARE)
  read_without_date(${OUTPUT} fresh)
  read_without_date(${COMPARE} committed)
  if(NOT fresh STREQUAL committed)
    message(FATAL_ERROR "po/cirrovan.pot is not what the sources mark for translation: "
                        "run  cmake --build build --target cirrovan-pot  and translate what it adds "
                        "(diff ${OUTPUT} ${COMPARE})")
  endif()
endif()

if(MERGE)
  foreach(lang ${LANGUAGES})
    execute_process(COMMAND ${MSGMERGE} --quiet --update --backup=none --no-fuzzy-matching
                            --add-location=file --sort-by-file po/${lang}.po ${OUTPUT}
                    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "msgmerge failed for ${lang}")
    endif()
  endforeach()
endif()
