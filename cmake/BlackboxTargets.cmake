# How every target of the project is declared, so that the build enforces the layers:
#
#   blackbox_library(NAME LAYER core|platform|program|test
#                    SOURCES a.cpp ...        (none: a header-only library)
#                    [LINKS lib ...]          what the library's headers need; users see it too
#                    [PRIVATE_LINKS lib ...]  what only its .cpp files need
#                    [HEADERS a.h ...])       default: every header of the folder
#   blackbox_program(NAME SOURCES ... [LINKS ...])            an executable of the program layer
#   blackbox_add_test(NAME [NO_MAIN] SOURCES ... [LIBS ...])  a GoogleTest executable run by ctest
#   blackbox_test_executable(NAME SOURCES ... [LIBS ...])     a test executable registered by hand
#   blackbox_add_webengine_test(NAME)                         registers one that opens web views
#   blackbox_webengine_test_properties(NAME [VAR=VALUE ...])  a registered test that opens them
#   blackbox_add_bench(NAME SOURCES ... [LIBS ...])           a Google Benchmark executable
#
# Include paths: a target sees its own headers and the public headers of what it links, nothing
# else. The headers keep their place in the tree (#include "manager/playback/video.h"): each
# library gets a folder build/include/NAME holding links to its own headers at their tree
# paths, and that folder is the library's only public include path. The source root itself is
# never an include path.
#
# Layers: LAYER must be the layer cmake/layers.txt gives the library's folder; a library links
# nothing of a higher layer, and a core library links nothing that brings Qt, GStreamer or GLib
# headers. Every target is checked once the whole project is configured.

include("${CMAKE_CURRENT_LIST_DIR}/Layers.cmake")

# The warnings every target of ours compiles with (outside libraries' headers are system headers,
# so they stay quiet). BLACKBOX_WERROR makes them errors; CI turns it on.
set(BLACKBOX_WARNINGS
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align -Wnull-dereference
  -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
# GCC 12 at -O1 with AddressSanitizer's instrumentation reports values as maybe uninitialized
# inside libstdc++ (std::regex, std::function) in our test files; the plain build keeps the check.
if(BLACKBOX_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND BLACKBOX_WARNINGS -Wno-maybe-uninitialized)
endif()
if(BLACKBOX_WERROR)
  list(APPEND BLACKBOX_WARNINGS -Werror)
endif()

function(_blackbox_folder out)
  file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()

# Checks `layer` against the table for the current folder and records it on the target.
function(_blackbox_set_layer target layer)
  if(NOT layer IN_LIST BLACKBOX_LAYERS)
    message(FATAL_ERROR "${target}: LAYER must be one of ${BLACKBOX_LAYERS}, not \"${layer}\"")
  endif()
  get_property(folders GLOBAL PROPERTY BLACKBOX_TABLE_FOLDERS)
  get_property(layers GLOBAL PROPERTY BLACKBOX_TABLE_LAYERS)
  _blackbox_folder(folder)
  blackbox_layer_lookup("${folder}" "${folders}" "${layers}" listed)
  if(NOT listed)
    message(FATAL_ERROR "${target}: the folder ${folder} is not in cmake/layers.txt; add it with its layer")
  endif()
  if(NOT listed STREQUAL layer)
    message(FATAL_ERROR "${target}: declared LAYER ${layer}, but cmake/layers.txt puts ${folder} in ${listed}")
  endif()
  set_property(TARGET ${target} PROPERTY BLACKBOX_LAYER ${layer})
endfunction()

# The headers of the current folder, without those of subfolders that hold targets of their
# own (a CMakeLists.txt of their own).
function(_blackbox_folder_headers out)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}"
       "${CMAKE_CURRENT_SOURCE_DIR}/*.h" "${CMAKE_CURRENT_SOURCE_DIR}/*.hpp")
  set(headers "")
  foreach(header IN LISTS found)
    get_filename_component(dir "${header}" DIRECTORY)
    set(own TRUE)
    while(dir)
      if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
        set(own FALSE)
        break()
      endif()
      get_filename_component(dir "${dir}" DIRECTORY)
    endwhile()
    if(own)
      list(APPEND headers "${header}")
    endif()
  endforeach()
  set(${out} "${headers}" PARENT_SCOPE)
endfunction()

# Links `headers` (relative to the current folder) into build/include/TARGET at their tree
# paths and puts that folder on the target's include path with `scope`.
function(_blackbox_stage_headers target scope headers)
  _blackbox_folder(folder)
  set(stage "${PROJECT_BINARY_DIR}/include/${target}")
  file(REMOVE_RECURSE "${stage}")
  file(MAKE_DIRECTORY "${stage}")
  foreach(header IN LISTS headers)
    set(link "${stage}/${folder}/${header}")
    get_filename_component(link_folder "${link}" DIRECTORY)
    file(MAKE_DIRECTORY "${link_folder}")
    file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}/${header}" "${link}" SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} "$<BUILD_INTERFACE:${stage}>")
endfunction()

# Targets that link Qt, directly or through one of our Qt libraries, get moc, rcc and uic.
function(_blackbox_qt_tools target)
  foreach(item IN LISTS ARGN)
    set(qt FALSE)
    if(item MATCHES "^Qt6?::")
      set(qt TRUE)
    elseif(TARGET "${item}")
      get_target_property(qt "${item}" BLACKBOX_USES_QT)
    endif()
    if(qt)
      set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON AUTOUIC ON BLACKBOX_USES_QT TRUE)
      return()
    endif()
  endforeach()
endfunction()

function(blackbox_library name)
  cmake_parse_arguments(PARSE_ARGV 1 L "" "LAYER" "SOURCES;LINKS;PRIVATE_LINKS;HEADERS")
  if(L_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "blackbox_library(${name}): unknown arguments ${L_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT L_HEADERS)
    _blackbox_folder_headers(L_HEADERS)
  endif()
  if(L_SOURCES)
    add_library(${name} STATIC ${L_SOURCES})
    target_compile_options(${name} PRIVATE ${BLACKBOX_WARNINGS})
    _blackbox_stage_headers(${name} PUBLIC "${L_HEADERS}")
    target_link_libraries(${name} PUBLIC ${L_LINKS} PRIVATE ${L_PRIVATE_LINKS})
  else()
    if(L_PRIVATE_LINKS)
      message(FATAL_ERROR "blackbox_library(${name}): a header-only library has no PRIVATE_LINKS")
    endif()
    add_library(${name} INTERFACE)
    _blackbox_stage_headers(${name} INTERFACE "${L_HEADERS}")
    target_link_libraries(${name} INTERFACE ${L_LINKS})
  endif()
  _blackbox_set_layer(${name} "${L_LAYER}")
  _blackbox_qt_tools(${name} ${L_LINKS} ${L_PRIVATE_LINKS})
endfunction()

# An executable sees the headers of its own folder and of what it links.
function(_blackbox_executable name layer sources links)
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${BLACKBOX_WARNINGS})
  _blackbox_folder_headers(headers)
  _blackbox_stage_headers(${name} PRIVATE "${headers}")
  target_link_libraries(${name} PRIVATE ${links})
  _blackbox_set_layer(${name} ${layer})
  _blackbox_qt_tools(${name} ${links})
endfunction()

function(blackbox_program name)
  cmake_parse_arguments(PARSE_ARGV 1 P "" "" "SOURCES;LINKS")
  _blackbox_executable(${name} program "${P_SOURCES}" "${P_LINKS}")
endfunction()

# A test executable that blackbox_add_test() does not register as it is: one with its own test
# registration (web views) or its own main. Links what it lists and nothing more.
function(blackbox_test_executable name)
  cmake_parse_arguments(PARSE_ARGV 1 T "" "" "SOURCES;LIBS")
  _blackbox_executable(${name} test "${T_SOURCES}" "${T_LIBS}")
endfunction()

# One GoogleTest executable, run by ctest as one test. Tests that need their own main (a
# QApplication) link GTest::gtest themselves and pass NO_MAIN.
function(blackbox_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 T "NO_MAIN" "" "SOURCES;LIBS")
  set(links ${T_LIBS} test_support GTest::gtest)
  if(NOT T_NO_MAIN)
    list(APPEND links GTest::gtest_main)
  endif()
  _blackbox_executable(${name} test "${T_SOURCES}" "${links}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# blackbox_webengine_test_properties(NAME [VAR=VALUE ...]): a test that opens real web views, in
# its own process or in the programs it starts. QtWebEngine takes about 300 MiB, so these never run
# at the same time. Under AddressSanitizer, Chromium's own sized deletes inside libQt6WebEngineCore
# trip the new/delete size check; that check is switched off for these tests only (everything else
# about them stays checked). ASan's options are separated by colons, as a path list is.
function(blackbox_webengine_test_properties name)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 RESOURCE_LOCK webengine
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1;${ARGN}")
  if(BLACKBOX_SANITIZE)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=path_list_append:new_delete_type_mismatch=0")
  endif()
endfunction()

# blackbox_add_webengine_test(NAME): registers as a test an executable that opens real web views
# (declare it with blackbox_test_executable()).
function(blackbox_add_webengine_test name)
  add_test(NAME ${name} COMMAND ${name})
  blackbox_webengine_test_properties(${name})
endfunction()

# Benchmarks print figures; nothing here fails a build or a test run.
function(blackbox_add_bench name)
  cmake_parse_arguments(PARSE_ARGV 1 B "" "" "SOURCES;LIBS")
  _blackbox_executable(${name} test "${B_SOURCES}" "${B_LIBS};benchmark::benchmark")
endfunction()

# --- checks over the whole project, once every folder is configured ---------------------------

function(_blackbox_all_targets folder out)
  get_property(targets DIRECTORY "${folder}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subfolders DIRECTORY "${folder}" PROPERTY SUBDIRECTORIES)
  foreach(subfolder IN LISTS subfolders)
    _blackbox_all_targets("${subfolder}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} "${targets}" PARENT_SCOPE)
endfunction()

# True when an outside library brings Qt, GStreamer or GLib (by its name or its include paths).
function(_blackbox_brings_gui_headers item out)
  set(result FALSE)
  if(item MATCHES "^Qt6?::|^PkgConfig::(GST|GLIB|GIO|GOBJECT)|gstreamer|glib")
    set(result TRUE)
  elseif(TARGET "${item}")
    get_target_property(imported "${item}" IMPORTED)
    if(imported)
      get_target_property(dirs "${item}" INTERFACE_INCLUDE_DIRECTORIES)
      if(dirs AND dirs MATCHES "qt6|Qt6|gstreamer|glib-2")
        set(result TRUE)
      endif()
    endif()
  endif()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(_blackbox_check_targets)
  _blackbox_all_targets("${PROJECT_SOURCE_DIR}" targets)
  set(problems "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "UTILITY" OR type STREQUAL "GLOBAL_TARGET")
      continue()
    endif()
    get_target_property(dirs ${target} INCLUDE_DIRECTORIES)
    get_target_property(interface_dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
    foreach(dir IN LISTS dirs interface_dirs)
      string(REGEX REPLACE "/$" "" dir "${dir}")
      if(dir STREQUAL PROJECT_SOURCE_DIR OR dir STREQUAL "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>")
        list(APPEND problems "${target} puts the source root on its include path: declare it with blackbox_library() or blackbox_program() instead")
        break()
      endif()
    endforeach()

    get_target_property(layer ${target} BLACKBOX_LAYER)
    if(NOT layer)
      # Qt makes object libraries for resources; everything else is declared through us.
      if(NOT type STREQUAL "OBJECT_LIBRARY")
        list(APPEND problems "${target} is not declared with blackbox_library(), blackbox_program() or blackbox_add_test(), so its layer is unknown")
      endif()
      continue()
    endif()
    blackbox_layer_rank(${layer} rank)
    if(type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(links ${target} LINK_LIBRARIES)
    endif()
    if(NOT links)
      continue()
    endif()
    foreach(item IN LISTS links)
      if(TARGET "${item}")
        get_target_property(item_layer "${item}" BLACKBOX_LAYER)
        if(item_layer)
          blackbox_layer_rank(${item_layer} item_rank)
          if(item_rank GREATER rank)
            list(APPEND problems "${target} (${layer}) links ${item} (${item_layer}): a layer uses only the layers below it")
          endif()
          continue()
        endif()
      endif()
      if(layer STREQUAL "core")
        _blackbox_brings_gui_headers("${item}" gui)
        if(gui)
          list(APPEND problems "${target} (core) links ${item}: core libraries see no Qt, GStreamer or GLib header")
        endif()
      endif()
    endforeach()
  endforeach()
  if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "Layer rules broken:\n  ${text}")
  endif()
endfunction()

blackbox_read_layer_table(_blackbox_folders _blackbox_layers)
set_property(GLOBAL PROPERTY BLACKBOX_TABLE_FOLDERS "${_blackbox_folders}")
set_property(GLOBAL PROPERTY BLACKBOX_TABLE_LAYERS "${_blackbox_layers}")
cmake_language(DEFER DIRECTORY "${PROJECT_SOURCE_DIR}" CALL _blackbox_check_targets)
