# The layering check (run by CTest): every source file of a library or executable includes
# headers of its own folder and of the folders of the libraries its target links, nothing else.
# LAYERS names the table panelo2_layers writes at configure time, one line per source file:
# "file folder allowed-folder...".
#
#   cmake -DSOURCE_DIR=<repo> -DLAYERS=<build>/layers.txt -P cmake/CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)
file(STRINGS ${LAYERS} lines)
set(violations "")
foreach(line IN LISTS lines)
  string(REPLACE " " ";" allowed "${line}")
  list(POP_FRONT allowed name folder)
  file(STRINGS ${SOURCE_DIR}/${name} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/[^\"/]+\"")
  foreach(include IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"(.+)/[^/\"]+\".*$" "\\1" dir "${include}")
    if(NOT dir STREQUAL folder AND NOT dir IN_LIST allowed)
      list(JOIN allowed ", " links)
      string(APPEND violations "\n  ${name} (${folder} links ${links}): ${include}")
    endif()
  endforeach()
endforeach()
if(violations)
  message(FATAL_ERROR "An include from a folder that is not below the file's own:${violations}")
endif()
list(LENGTH lines count)
message(STATUS "${count} files: every include comes from the file's folder or a folder below it")
