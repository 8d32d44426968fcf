# Reading cmake/layers.txt: shared by the build (BlackboxTargets.cmake) and by the include check
# (check_layers.cmake, run in script mode), so both know the same folders and layers.

set(BLACKBOX_LAYERS core platform program test)
set(BLACKBOX_LAYER_TABLE "${CMAKE_CURRENT_LIST_DIR}/layers.txt")

# Sets `folders_out` and `layers_out` to the table's two columns, in table order.
function(blackbox_read_layer_table folders_out layers_out)
  file(STRINGS "${BLACKBOX_LAYER_TABLE}" lines)
  set(folders "")
  set(layers "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(#|$)")
      continue()
    endif()
    if(NOT line MATCHES "^[ \t]*([^ \t]+)[ \t]+([a-z]+)[ \t]*$")
      message(FATAL_ERROR "${BLACKBOX_LAYER_TABLE}: cannot read the line \"${line}\"")
    endif()
    if(NOT CMAKE_MATCH_2 IN_LIST BLACKBOX_LAYERS)
      message(FATAL_ERROR "${BLACKBOX_LAYER_TABLE}: \"${CMAKE_MATCH_2}\" is no layer (${BLACKBOX_LAYERS})")
    endif()
    list(APPEND folders "${CMAKE_MATCH_1}")
    list(APPEND layers "${CMAKE_MATCH_2}")
  endforeach()
  set(${folders_out} "${folders}" PARENT_SCOPE)
  set(${layers_out} "${layers}" PARENT_SCOPE)
endfunction()

# Sets `out` to the layer of `folder` (relative to the source root, with '/'): the entry of the
# longest listed folder that is `folder` itself or one of its parents; empty when none is.
function(blackbox_layer_lookup folder folders layers out)
  set(best "")
  set(best_length -1)
  list(LENGTH folders count)
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      list(GET folders ${i} candidate)
      string(FIND "${folder}/" "${candidate}/" at)
      string(LENGTH "${candidate}" length)
      if(at EQUAL 0 AND length GREATER best_length)
        list(GET layers ${i} best)
        set(best_length ${length})
      endif()
    endforeach()
  endif()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

# Sets `out` to the layer's rank: 0 core, 1 platform, 2 program, 3 test.
function(blackbox_layer_rank layer out)
  list(FIND BLACKBOX_LAYERS "${layer}" rank)
  set(${out} ${rank} PARENT_SCOPE)
endfunction()
