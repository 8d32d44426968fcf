# The include check: every C++ file of the tree includes only headers of its own layer or the
# layers below it (cmake/layers.txt), and no core file includes a Qt, GStreamer or GLib header.
#
#   cmake -DROOT=<source root> -P cmake/check_layers.cmake
#
# Prints one line per broken rule (file:line: what is wrong) and fails when there is any.
# A C++ file in a folder the table does not cover is reported too.

cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/Layers.cmake")

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source root> -P check_layers.cmake")
endif()
get_filename_component(ROOT "${ROOT}" ABSOLUTE)

# Qt class and module headers (<QString>, <QtCore/qstring.h>, <qglobal.h>), GStreamer (<gst/...>)
# and GLib with its companions.
set(gui_header "^(Q[A-Z][A-Za-z0-9]*|Qt[A-Za-z0-9]*/.*|q[a-z0-9_]+\\.h|gst/.*|glib\\.h|glib/.*|glib-object\\.h|gio/.*|gobject/.*|gmodule\\.h)$")

blackbox_read_layer_table(folders layers)

# Every top-level folder the table names, searched in whole.
set(tops "")
foreach(folder IN LISTS folders)
  string(REGEX REPLACE "/.*" "" top "${folder}")
  list(APPEND tops "${top}")
endforeach()
list(REMOVE_DUPLICATES tops)

set(files "")
foreach(top IN LISTS tops)
  if(IS_DIRECTORY "${ROOT}/${top}")
    file(GLOB_RECURSE found RELATIVE "${ROOT}" "${ROOT}/${top}/*.h" "${ROOT}/${top}/*.hpp" "${ROOT}/${top}/*.cpp" "${ROOT}/${top}/*.cc")
    list(APPEND files ${found})
  endif()
endforeach()
# Whatever else holds C++ outside the build folders must be in the table as well.
file(GLOB others RELATIVE "${ROOT}" "${ROOT}/*")
foreach(other IN LISTS others)
  if(IS_DIRECTORY "${ROOT}/${other}" AND NOT other IN_LIST tops AND NOT other MATCHES "^(\\.|build)")
    file(GLOB_RECURSE found RELATIVE "${ROOT}" "${ROOT}/${other}/*.h" "${ROOT}/${other}/*.hpp" "${ROOT}/${other}/*.cpp" "${ROOT}/${other}/*.cc")
    list(APPEND files ${found})
  endif()
endforeach()
list(SORT files)

set(problems 0)
macro(report text)
  message("${text}")
  math(EXPR problems "${problems} + 1")
endmacro()

foreach(file IN LISTS files)
  get_filename_component(folder "${file}" DIRECTORY)
  blackbox_layer_lookup("${folder}" "${folders}" "${layers}" layer)
  if(NOT layer)
    report("${file}: its folder ${folder} is not in cmake/layers.txt")
    continue()
  endif()
  blackbox_layer_rank(${layer} rank)

  file(STRINGS "${ROOT}/${file}" lines)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
      continue()
    endif()
    set(quoted "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    if(layer STREQUAL "core" AND name MATCHES "${gui_header}")
      report("${file}:${number}: core file includes the Qt/GStreamer/GLib header <${name}>")
      continue()
    endif()
    # A project header: beside the file (quoted only) or at its tree path.
    set(target "")
    if(quoted STREQUAL "\"" AND EXISTS "${ROOT}/${folder}/${name}" AND NOT IS_DIRECTORY "${ROOT}/${folder}/${name}")
      set(target "${ROOT}/${folder}/${name}")
    elseif(EXISTS "${ROOT}/${name}" AND NOT IS_DIRECTORY "${ROOT}/${name}")
      set(target "${ROOT}/${name}")
    endif()
    if(NOT target)
      continue()
    endif()
    get_filename_component(target "${target}" ABSOLUTE)
    file(RELATIVE_PATH included "${ROOT}" "${target}")
    get_filename_component(included_folder "${included}" DIRECTORY)
    blackbox_layer_lookup("${included_folder}" "${folders}" "${layers}" included_layer)
    if(NOT included_layer)
      continue()  # reported as a file of its own
    endif()
    blackbox_layer_rank(${included_layer} included_rank)
    if(included_rank GREATER rank)
      report("${file}:${number}: ${layer} file includes ${included}, a ${included_layer} header")
    endif()
  endforeach()
endforeach()

list(LENGTH files count)
if(problems GREATER 0)
  message(FATAL_ERROR "layer check: ${problems} problem(s) in ${count} files")
endif()
message("layer check: ${count} files, every include within its layer")
