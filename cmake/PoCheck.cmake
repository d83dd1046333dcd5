# Each of LANGUAGES' catalogue is valid (its formats match their English ones)
# and complete: no text untranslated, none fuzzy.
foreach(lang ${LANGUAGES})
  execute_process(COMMAND ${MSGFMT} --check --statistics -o /dev/null ${SOURCE_DIR}/po/${lang}.po
                  RESULT_VARIABLE rc ERROR_VARIABLE stats OUTPUT_VARIABLE out)
  string(STRIP "${stats}${out}" stats)
  message(STATUS "${lang}: ${stats}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "po/${lang}.po is not valid: ${stats}")
  endif()
  if(stats MATCHES "untranslated|fuzzy")
    message(FATAL_ERROR "po/${lang}.po is not complete: ${stats}")
  endif()
endforeach()
