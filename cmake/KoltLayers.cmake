# The solver is built in layers, one static library each, every layer using
# only the layers below it. The linker does not notice a wrong include of a
# header that needs no code of its own, so the build also reads every
# #include of every layer (check_layers.cmake) and stops at one that reaches
# a layer the including one does not use.

# kolt_layer(NAME FOLDER folder [USES layer...] [EXCLUDE file...])
# Makes the static library kolt_NAME of the .cpp files under FOLDER (less
# those in EXCLUDE), linked to the libraries of the layers it USES. Its files
# may include from its own folder, from the folders of the layers it uses and
# from those the used layers may include in turn.
function(kolt_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "FOLDER" "USES;EXCLUDE")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${LAYER_FOLDER}/*.cpp)
  foreach(excluded IN LISTS LAYER_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(kolt_${name} STATIC ${sources})
  target_include_directories(kolt_${name} PUBLIC ${CMAKE_SOURCE_DIR})

  set(allowed ${name})
  foreach(used IN LISTS LAYER_USES)
    get_property(known GLOBAL PROPERTY KOLT_LAYER_${used}_ALLOWED SET)
    if(NOT known)
      message(FATAL_ERROR "Layer ${name} uses ${used}, which is not declared before it")
    endif()
    get_property(below GLOBAL PROPERTY KOLT_LAYER_${used}_ALLOWED)
    list(APPEND allowed ${below})
    target_link_libraries(kolt_${name} PUBLIC kolt_${used})
  endforeach()
  list(REMOVE_DUPLICATES allowed)

  set_property(GLOBAL APPEND PROPERTY KOLT_LAYERS ${name})
  set_property(GLOBAL PROPERTY KOLT_LAYER_${name}_FOLDER ${LAYER_FOLDER})
  set_property(GLOBAL PROPERTY KOLT_LAYER_${name}_ALLOWED ${allowed})
endfunction()

# Adds the include check of every layer declared so far to the default build,
# run before any layer is compiled and again whenever one of their files
# changes.
function(kolt_check_layers)
  get_property(layers GLOBAL PROPERTY KOLT_LAYERS)
  set(table "${CMAKE_BINARY_DIR}/kolt_layers.cmake")
  set(content "set(KOLT_LAYERS ${layers})\n")
  set(watched ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake ${table})
  foreach(layer IN LISTS layers)
    get_property(folder GLOBAL PROPERTY KOLT_LAYER_${layer}_FOLDER)
    get_property(allowed GLOBAL PROPERTY KOLT_LAYER_${layer}_ALLOWED)
    string(APPEND content "set(KOLT_LAYER_${layer}_FOLDER ${folder})\n")
    string(APPEND content "set(KOLT_LAYER_${layer}_ALLOWED ${allowed})\n")
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND watched ${files})
  endforeach()
  file(CONFIGURE OUTPUT ${table} CONTENT "${content}")

  set(stamp "${CMAKE_BINARY_DIR}/kolt_layers.checked")
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DTABLE=${table} -DSTAMP=${stamp}
            -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    DEPENDS ${watched}
    COMMENT "Checking the includes of the solver's layers"
    VERBATIM)
  add_custom_target(kolt_layer_check ALL DEPENDS ${stamp})
  foreach(layer IN LISTS layers)
    add_dependencies(kolt_${layer} kolt_layer_check)
  endforeach()
endfunction()
