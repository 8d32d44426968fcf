# The layer check on small made-up trees: every kind of broken rule is reported with its file
# and line, allowed includes are not, and a clean tree passes.
#
#   cmake -DCHECKER=<cmake/check_layers.cmake> -DWORK=<scratch folder> -P layer_check_test.cmake

cmake_minimum_required(VERSION 3.25)

set(failures 0)
macro(fail text)
  message("FAILED: ${text}")
  math(EXPR failures "${failures} + 1")
endmacro()

function(write_file root path)
  file(WRITE "${root}/${path}" "${ARGN}")
endfunction()

function(run_check root out_result out_output)
  execute_process(COMMAND "${CMAKE_COMMAND}" -DROOT=${root} -P "${CHECKER}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  set(${out_result} "${result}" PARENT_SCOPE)
  set(${out_output} "${output}${errors}" PARENT_SCOPE)
endfunction()

# --- a tree with one broken rule of each kind ---------------------------------------------------
set(broken "${WORK}/broken")
file(REMOVE_RECURSE "${broken}")
write_file("${broken}" "manager/playback/video.h" "#pragma once\n#include <gst/gst.h>\n#include <QObject>\n")
write_file("${broken}" "manager/app/main_window.h" "#pragma once\n")
write_file("${broken}" "tracker/log/track_point.h" "#pragma once\n#include <vector>\n")
write_file("${broken}" "tracker/app/window.h" "#pragma once\n")
write_file("${broken}" "manager/recording/uses_qt.cpp" "#include <vector>\n\n#include <QString>\n")
write_file("${broken}" "manager/library/uses_qt_module.h" "#include <QtCore/qstring.h>\n")
write_file("${broken}" "manager/library/uses_glib.cpp" "  #  include <glib.h>\n")
write_file("${broken}" "manager/setup/uses_gstreamer.cpp" "#include <gst/app/gstappsink.h>\n")
write_file("${broken}" "manager/setup/uses_platform.cpp" "#include \"manager/setup/uses_platform.h\"\n#include \"manager/playback/video.h\"\n")
write_file("${broken}" "manager/setup/uses_platform.h" "#pragma once\n")
write_file("${broken}" "manager/library/uses_program.cpp" "#include \"manager/app/main_window.h\"\n")
write_file("${broken}" "manager/library/uses_platform_relatively.cpp" "#include \"../playback/video.h\"\n")
write_file("${broken}" "manager/playback/uses_program.cpp" "#include \"manager/playback/video.h\"\n#include \"manager/app/main_window.h\"\n")
write_file("${broken}" "tracker/app/settings/uses_its_program.cpp" "#include \"tracker/log/track_point.h\"\n#include \"tracker/app/window.h\"\n")
write_file("${broken}" "tracker/app/uses_settings.cpp" "#include \"tracker/app/window.h\"\n#include <QWidget>\n")
write_file("${broken}" "tests/anything_test.cpp" "#include <QString>\n#include \"manager/app/main_window.h\"\n")
write_file("${broken}" "unlisted/thing.cpp" "int x;\n")

run_check("${broken}" result output)
if(result EQUAL 0)
  fail("a tree with broken rules passed")
endif()
foreach(expected
    "manager/recording/uses_qt.cpp:3: core file includes the Qt/GStreamer/GLib header <QString>"
    "manager/library/uses_qt_module.h:1: core file includes the Qt/GStreamer/GLib header <QtCore/qstring.h>"
    "manager/library/uses_glib.cpp:1: core file includes the Qt/GStreamer/GLib header <glib.h>"
    "manager/setup/uses_gstreamer.cpp:1: core file includes the Qt/GStreamer/GLib header <gst/app/gstappsink.h>"
    "manager/setup/uses_platform.cpp:2: core file includes manager/playback/video.h, a platform header"
    "manager/library/uses_program.cpp:1: core file includes manager/app/main_window.h, a program header"
    "manager/library/uses_platform_relatively.cpp:1: core file includes manager/playback/video.h, a platform header"
    "manager/playback/uses_program.cpp:2: platform file includes manager/app/main_window.h, a program header"
    "tracker/app/settings/uses_its_program.cpp:2: core file includes tracker/app/window.h, a program header"
    "unlisted/thing.cpp: its folder unlisted is not in cmake/layers.txt"
    "problem\\(s\\)")
  if(NOT output MATCHES "${expected}")
    fail("not reported: ${expected}")
  endif()
endforeach()
# Allowed: a platform or program file with Qt and GStreamer, includes of the same or a lower
# layer, tests including anything.
foreach(allowed "manager/playback/video.h" "tracker/app/uses_settings.cpp" "tests/anything_test.cpp"
                "manager/setup/uses_platform.cpp:1" "tracker/app/settings/uses_its_program.cpp:1")
  if("\n${output}" MATCHES "\n${allowed}")
    fail("reported although allowed: ${allowed}")
  endif()
endforeach()
string(REGEX MATCHALL "\n[^\n]*:[0-9]+: " lines "\n${output}")
list(LENGTH lines count)
if(NOT count EQUAL 9)
  fail("expected 9 reported includes, got ${count}:\n${output}")
endif()

# --- a clean tree passes ------------------------------------------------------------------------
set(clean "${WORK}/clean")
file(REMOVE_RECURSE "${clean}")
write_file("${clean}" "common/text.h" "#pragma once\n#include <string>\n")
write_file("${clean}" "manager/library/list.cpp" "#include \"common/text.h\"\n#include <queue>\n")
write_file("${clean}" "manager/playback/video.cpp" "#include <gst/gst.h>\n#include \"manager/library/list.h\"\n")
write_file("${clean}" "manager/app/window.cpp" "#include <QWidget>\n#include \"manager/playback/video.h\"\n")
run_check("${clean}" result output)
if(NOT result EQUAL 0)
  fail("a clean tree was refused:\n${output}")
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} check(s) failed")
endif()
message("layer check test: passed")
