# Fails when a source file includes a folder that its own folder may not use,
# when Qt is included outside the folders and files that use it, when a file
# outside app/ names the program's process-wide objects, when a product header
# carries a hook for the tests, when a product target compiles a test file, or
# when a file outside the platform includes a header internal to it.
# cmake -DSOURCE_DIR=<source> -DSTAMP=<file> [-DPRODUCT_SOURCES=<list file>] -P CheckLayers.cmake
# The list file has a line "TARGET|SOURCE" for each source of each target that
# ships (cmake/Layers.cmake writes it at configure time).

# Each folder with the folders it may include (itself always).
cmake_minimum_required(VERSION 3.25)

set(uses_platform "")
set(uses_platform/ui "platform")
set(uses_platform/testing "platform;platform/ui")
set(uses_store "platform")
set(uses_settings "platform;store")
set(uses_model "platform;store;settings")
set(uses_log "platform;store")
set(uses_res "platform;store")
set(uses_net "platform;platform/ui;store;model;log;res")
set(uses_dialogs "platform;platform/ui;store;settings;model;log;res;net")
# The chart's core plans without drawing; only its view draws, with the pictures.
set(uses_chart "platform;store;settings;model")
set(uses_chart/view "platform;platform/ui;store;settings;model;res;chart")
set(uses_app "platform;platform/ui;store;settings;model;log;res;net;dialogs;chart;chart/view;service")
# The service's shared layers (places, the feed, the HTTP server) know nothing
# of the sources that use them; only the service's top folder puts them together.
set(uses_service/places "")
set(uses_service/feed "platform;service/places")
set(uses_service/http "service/feed;service/places")
set(uses_service/demo "platform;service/feed;service/places")
set(uses_service/live "service/feed;service/places")
set(uses_service "platform;service/http;service/feed;service/places;service/demo;service/live")
set(uses_service/testing "service;service/http;service/feed;service/places")
set(folders platform platform/ui platform/testing store settings model log res net dialogs chart chart/view app
    service service/places service/feed service/http service/demo service/live service/testing)
# Only these draw with Qt directly; everything else goes through platform/ui.
set(qt_folders platform/ui platform/testing)
# The service takes the zones' offsets from the system's tz database through QtCore.
set(qt_files service/places/ZoneClock.cpp)
# What only the tests, the benchmarks, the fuzzers and the tour use.
set(test_folders platform/testing service/testing)
set(test_file_regex "^(tests|testing|fuzz|bench|platform/testing|service/testing)/")

# The platform's own side of its classes (their implementations, Qt's view of
# them): headers that say they are internal to it, for its folders alone.
set(internal_users platform/ui platform/testing)
set(internal_headers "")
file(GLOB ui_headers ${SOURCE_DIR}/platform/ui/*.h)
foreach(header ${ui_headers})
  file(STRINGS ${header} internal LIMIT_COUNT 8 REGEX "Internal to the platform")
  if(internal)
    file(RELATIVE_PATH name ${SOURCE_DIR} ${header})
    list(APPEND internal_headers ${name})
  endif()
endforeach()
# Faults of a file that includes one of them.
function(check_internal file name)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"platform/ui/")
  foreach(line ${lines})
    if(line MATCHES "\"(platform/ui/[^\"]+)\"" AND CMAKE_MATCH_1 IN_LIST internal_headers)
      list(APPEND faults "${name}: ${CMAKE_MATCH_1} is internal to the platform")
    endif()
  endforeach()
  set(faults ${faults} PARENT_SCOPE)
endfunction()

set(faults "")
foreach(folder ${folders})
  file(GLOB files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)/[^/\"]+\"")
        set(used ${CMAKE_MATCH_1})
        if(NOT used STREQUAL folder AND NOT used IN_LIST uses_${folder})
          list(APPEND faults "${name}: ${folder}/ may not include ${used}/ (${line})")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<Q[A-Za-z]*[>/]" AND NOT folder IN_LIST qt_folders
             AND NOT name IN_LIST qt_files)
        list(APPEND faults "${name}: Qt is used only in platform/ui and the service's zone clock (${line})")
      endif()
    endforeach()
    if(NOT folder STREQUAL "app")
      file(STRINGS ${file} named REGEX "(^|[^A-Za-z0-9_])(theWeatherData|theLog|theApp)([^A-Za-z0-9_]|$)")
      if(named)
        list(APPEND faults "${name}: only app/ names the program's global objects")
      endif()
    endif()
    # The product is handed its seams when it starts; it keeps no door for the tests.
    if(NOT folder IN_LIST test_folders AND name MATCHES "\\.h$")
      file(STRINGS ${file} hooks REGEX "([A-Za-z0-9_]ForTest|(^|[^A-Za-z0-9_])Freeze)[ \t]*\\(")
      if(hooks)
        list(JOIN hooks " " hook)
        string(REGEX REPLACE "[ \t\r\n]+" " " hook "${hook}")
        # A line's semicolons would split the message into list items.
        string(REGEX REPLACE "[\\;]" "" hook "${hook}")
        string(STRIP "${hook}" hook)
        list(APPEND faults "${name}: a product header carries a hook for the tests (${hook})")
      endif()
    endif()
    if(NOT folder IN_LIST internal_users)
      check_internal(${file} ${name})
    endif()
    # The test driver and the service's faults are for the tests alone.
    if(NOT folder IN_LIST test_folders)
      file(STRINGS ${file} driver REGEX "#[ \t]*include[ \t]*\"(platform/testing|service/testing|testing|tests)/")
      if(driver)
        list(APPEND faults "${name}: the product includes a file of the tests (${driver})")
      endif()
    endif()
  endforeach()
endforeach()

# The tests, benchmarks and fuzzers use the platform as the program does.
file(GLOB_RECURSE others ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/bench/*.h
     ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/fuzz/*.h ${SOURCE_DIR}/fuzz/*.cpp ${SOURCE_DIR}/testing/*.h
     ${SOURCE_DIR}/testing/*.cpp)
foreach(file ${others})
  file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
  # The check's own broken trees are no part of the tests' code.
  if(name MATCHES "^tests/layers/")
    continue()
  endif()
  check_internal(${file} ${name})
endforeach()

if(PRODUCT_SOURCES)
  file(STRINGS ${PRODUCT_SOURCES} entries)
  foreach(entry ${entries})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 target)
    list(GET parts 1 source)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${SOURCE_DIR} NORMALIZE)
    file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
    if(name MATCHES "${test_file_regex}")
      list(APPEND faults "${target}: a target that ships compiles ${name}, a file of the tests")
    endif()
  endforeach()
endif()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
file(TOUCH ${STAMP})
