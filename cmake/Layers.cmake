# The layer check runs as part of every build whose sources changed, so a wrong
# include fails the build rather than waiting for a reviewer.
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
set(layers_stamp ${CMAKE_BINARY_DIR}/layers.checked)
add_custom_command(OUTPUT ${layers_stamp}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DSTAMP=${layers_stamp}
          -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
  DEPENDS ${layered_sources} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
  COMMENT "Checking the folders' layering")
add_custom_target(layers ALL DEPENDS ${layers_stamp})
