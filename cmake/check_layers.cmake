# Reads every #include of every layer and fails when one reaches a file of a
# layer the including layer may not use, or a file of the source tree that
# belongs to no layer. Run by the build (KoltLayers.cmake):
#   cmake -DSOURCE_DIR=... -DTABLE=kolt_layers.cmake -DSTAMP=... -P check_layers.cmake
# TABLE names the layers, their folders and the layers each may include.

cmake_minimum_required(VERSION 3.20)
include(${TABLE})
file(REMOVE ${STAMP})

# The layer whose folder holds `path` (relative to the source tree), or
# empty.
function(layer_of path result)
  set(owner "")
  set(longest 0)
  foreach(layer IN LISTS KOLT_LAYERS)
    set(folder "${KOLT_LAYER_${layer}_FOLDER}/")
    string(LENGTH "${folder}" length)
    string(FIND "${path}" "${folder}" at)
    if(at EQUAL 0 AND length GREATER longest)
      set(owner ${layer})
      set(longest ${length})
    endif()
  endforeach()
  set(${result} "${owner}" PARENT_SCOPE)
endfunction()

# Line number of the first line of `file` that reads `text`.
function(line_of file text result)
  file(READ ${file} content)
  string(FIND "${content}" "${text}" at)
  string(SUBSTRING "${content}" 0 ${at} before)
  string(REGEX MATCHALL "\n" breaks "${before}")
  list(LENGTH breaks count)
  math(EXPR line "${count} + 1")
  set(${result} ${line} PARENT_SCOPE)
endfunction()

set(faults "")
foreach(layer IN LISTS KOLT_LAYERS)
  set(folder ${KOLT_LAYER_${layer}_FOLDER})
  set(allowed ${KOLT_LAYER_${layer}_ALLOWED})
  list(REMOVE_ITEM allowed ${layer})
  if(allowed)
    string(REPLACE ";" ", " allowedText "${allowed}")
  else()
    set(allowedText "none")
  endif()
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file IN LISTS files)
    get_filename_component(directory ${file} DIRECTORY)
    file(RELATIVE_PATH source ${SOURCE_DIR} ${file})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]+[\">]")
    foreach(include IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" name "${include}")
      # Where the compiler finds it: beside the including file first for a
      # quoted name, then from the top of the source tree. A name found in
      # neither place is a system or third-party header.
      if(include MATCHES "\"" AND EXISTS ${directory}/${name})
        get_filename_component(target ${directory}/${name} ABSOLUTE)
      elseif(EXISTS ${SOURCE_DIR}/${name})
        get_filename_component(target ${SOURCE_DIR}/${name} ABSOLUTE)
      else()
        continue()
      endif()
      file(RELATIVE_PATH target ${SOURCE_DIR} ${target})
      layer_of(${target} owner)
      if(owner STREQUAL "")
        set(reason "a file that belongs to no layer of the solver")
      elseif(NOT owner IN_LIST KOLT_LAYER_${layer}_ALLOWED)
        set(reason "the ${owner} layer, which the ${layer} layer may not use (it may use: ${allowedText})")
      else()
        continue()
      endif()
      line_of(${file} "${include}" line)
      string(APPEND faults "${source}:${line}: includes ${target}: ${reason}\n")
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "An include breaks the layering of the solver:\n${faults}")
endif()
file(TOUCH ${STAMP})
