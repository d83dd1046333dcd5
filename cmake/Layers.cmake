# The layer check runs as part of every build whose sources changed, so a wrong
# include fails the build rather than waiting for a reviewer. Included once
# every target is defined: it lists the sources of the targets that ship.
file(GLOB_RECURSE layered_sources CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/platform/*.h ${PROJECT_SOURCE_DIR}/platform/*.cpp
     ${PROJECT_SOURCE_DIR}/store/*.h ${PROJECT_SOURCE_DIR}/store/*.cpp
     ${PROJECT_SOURCE_DIR}/settings/*.h ${PROJECT_SOURCE_DIR}/settings/*.cpp
     ${PROJECT_SOURCE_DIR}/model/*.h ${PROJECT_SOURCE_DIR}/model/*.cpp
     ${PROJECT_SOURCE_DIR}/log/*.h ${PROJECT_SOURCE_DIR}/log/*.cpp
     ${PROJECT_SOURCE_DIR}/res/*.h ${PROJECT_SOURCE_DIR}/res/*.cpp
     ${PROJECT_SOURCE_DIR}/net/*.h ${PROJECT_SOURCE_DIR}/net/*.cpp
     ${PROJECT_SOURCE_DIR}/dialogs/*.h ${PROJECT_SOURCE_DIR}/dialogs/*.cpp
     ${PROJECT_SOURCE_DIR}/chart/*.h ${PROJECT_SOURCE_DIR}/chart/*.cpp
     ${PROJECT_SOURCE_DIR}/app/*.h ${PROJECT_SOURCE_DIR}/app/*.cpp
     ${PROJECT_SOURCE_DIR}/service/*.h ${PROJECT_SOURCE_DIR}/service/*.cpp)

# The targets that ship: every target of the product's folders but the test
# programs among them (marked CIRROVAN_TEST_PROGRAM).
set(product_list ${CMAKE_BINARY_DIR}/product-sources.txt)
set(product_lines "")
foreach(dir platform platform/ui store settings model log res net dialogs chart chart/view app service)
  get_property(targets DIRECTORY ${PROJECT_SOURCE_DIR}/${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    get_target_property(test_program ${target} CIRROVAN_TEST_PROGRAM)
    if(type STREQUAL "INTERFACE_LIBRARY" OR test_program)
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    foreach(source ${sources})
      if(NOT source MATCHES "^\\$<")
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir} NORMALIZE)
        string(APPEND product_lines "${target}|${source}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
file(CONFIGURE OUTPUT ${product_list} CONTENT "${product_lines}")

set(layers_stamp ${CMAKE_BINARY_DIR}/layers.checked)
add_custom_command(OUTPUT ${layers_stamp}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DSTAMP=${layers_stamp}
          -DPRODUCT_SOURCES=${product_list} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
  DEPENDS ${layered_sources} ${product_list} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
  COMMENT "Checking the folders' layering")
add_custom_target(layers ALL DEPENDS ${layers_stamp})
